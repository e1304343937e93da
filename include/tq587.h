/* tq587.h - the driver library of the TQ587 thermal receipt printer.
 *
 * Every function returns an int, one of the TQ587_Result codes below.
 * Texts are zero-terminated 8-bit strings (Latin-1); the library only reads
 * them. One call at a time: the library has no locks of its own.
 */
#ifndef TQ587_H
#define TQ587_H

#if defined(_WIN32)
#  if defined(TQ587_BUILDING)
#    define TQ587_API __declspec(dllexport)
#  else
#    define TQ587_API __declspec(dllimport)
#  endif
#  define TQ587_CALL __cdecl
#else
#  define TQ587_API __attribute__((visibility("default")))
#  define TQ587_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The results of the functions. */
enum TQ587_Result {
  TQ587_DONE = 1,
  /* printer not reachable, a send failed, or nothing to do */
  TQ587_NOT_DONE = 0,
  /* CONVERSOR.INI could not be written, or a tag reported an update error */
  TQ587_UPDATE_ERROR = -1,
  /* the picture could not be read as a BMP */
  TQ587_NOT_A_BMP = -8,
  /* a tag of the text reported a generic error */
  TQ587_GENERIC_ERROR = -27,
  /* invalid parameter */
  TQ587_INVALID_PARAMETER = -99
};

/* Connect: the configured port and speed, else a search of ports and speeds,
 * or the USB printer. 1 when connected (also when it already was), 0 when not. */
TQ587_API int TQ587_CALL TQ587_eBuscarPortaVelocidade(void);

/* Close and drop the connection. 1 when there was none or it closed, 0 when
 * the close failed. */
TQ587_API int TQ587_CALL TQ587_fecharPorta(void);

/* Kick the cash drawer (ESC p 0 150 255). */
TQ587_API int TQ587_CALL TQ587_iAcionarGaveta(void);

/* Print a text written in the tag mark-up. n is 0 (the text's own length is
 * checked against 2000) or the caller's character count (checked instead). */
TQ587_API int TQ587_CALL TQ587_iImprimirTexto(const char* text, int n);

/* Print a BMP picture: every pixel dark or light by a fixed threshold. */
TQ587_API int TQ587_CALL TQ587_iImprimirBMP(const char* fileName);

/* Print a BMP picture dithered, so that grey shows as dot density. */
TQ587_API int TQ587_CALL TQ587_iImprimirImagem(const char* fileName);

/* Settings kept in CONVERSOR.INI. */
TQ587_API int TQ587_CALL TQ587_regCodePageAutomatico(const char* value);
TQ587_API int TQ587_CALL TQ587_regEnterFinal(const char* value);
TQ587_API int TQ587_CALL TQ587_regModoGaveta(const char* value);
TQ587_API int TQ587_CALL TQ587_regTabulacao(const char* value);

/* Placeholders: they take any arguments, do nothing and return 0. */
TQ587_API int TQ587_CALL TQ587_iConfigurarGuilhotina();
TQ587_API int TQ587_CALL TQ587_rConsultaStatusImpressora();
TQ587_API int TQ587_CALL TQ587_regLinhasGuilhotina();
TQ587_API int TQ587_CALL TQ587_regPortaComunicacao();
TQ587_API int TQ587_CALL TQ587_regVelocidade();

#ifdef __cplusplus
}
#endif

#endif /* TQ587_H */

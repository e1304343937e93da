/* scenario.c - an application's session with the driver, the same on Linux
 * and on Windows: loads the library by its path as a point-of-sale program
 * does, prints a marked-up receipt, a picture of tests/data/images both
 * ways (the caller puts it in the current directory), kicks the drawer,
 * changes the four settings and prints again, meets a device and folders
 * where it looks for files, then prints each IMAGE given
 * three ways (TQ587_iImprimirBMP, TQ587_iImprimirImagem, the <ibmp> tag).
 * Each call's result goes to results.txt in the current directory, where
 * CONVERSOR.INI also lives.
 *
 *   tq587-scenario LIBRARY [FPU [IMAGE...]]
 *
 * FPU, on x86: the floating-point settings the program sets before it loads
 * the library, "X87" or "X87:MXCSR" in hexadecimal (a Delphi program:
 * 1332:1900, exceptions unmasked), or "-" to keep the ones it started with.
 * The library must print the same whatever they are, and leave them as they
 * were: results.txt says so when it does not.
 */
#include <stdio.h>
#include <string.h>
#ifdef _WIN32
#include <direct.h>
#define mkdir(path, mode) _mkdir(path)
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "loading.h"
#include "tq587.h"

typedef int(TQ587_CALL* NoArguments)(void);
typedef int(TQ587_CALL* OneText)(const char*);
typedef int(TQ587_CALL* TextAndCount)(const char*, int);
typedef int(TQ587_CALL* Placeholder)(int, int);

#if defined(__i386__) || defined(__x86_64__)
/* The x87 control word, the x87 exception flags and the control bits of the
 * SSE control and status register (not its sticky flags). */
typedef struct {
  unsigned short x87, flags;
  unsigned int sse;
} FpSettings;
static FpSettings readFp(void) {
  FpSettings s;
  __asm__ volatile("fnstcw %0\n\tfnstsw %1\n\tstmxcsr %2" : "=m"(s.x87), "=m"(s.flags), "=m"(s.sse));
  s.flags &= 0x7F;
  s.sse &= ~0x3Fu;
  return s;
}
static int setFp(const char* text) {
  unsigned int x87 = 0, sse = 0;
  const int n = strcmp(text, "-") == 0 ? 0 : sscanf(text, "%x:%x", &x87, &sse);
  unsigned short cw = (unsigned short)x87;
  if (n >= 1) __asm__ volatile("fldcw %0" : : "m"(cw));
  if (n == 2) __asm__ volatile("ldmxcsr %0" : : "m"(sse));
  return n != EOF && (n >= 1 || strcmp(text, "-") == 0);
}
#else
typedef int FpSettings;
static FpSettings readFp(void) { return 0; }
static int setFp(const char* text) { return strcmp(text, "-") == 0; }
#endif

/* A picture of tests/data/images, which the caller copies beside it. */
static const char kPicture[] = "d24_64x48_gradient.bmp";

static void* library;
static FILE* results;
static int failures;

static void* need(const char* name) {
  void* function = findFunction(library, name);
  if (!function) {
    fprintf(results, "%s: missing\n", name);
    ++failures;
  }
  return function;
}

static void noArguments(const char* name) {
  NoArguments f = (NoArguments)need(name);
  if (f) fprintf(results, "%s() = %d\n", name, f());
}

static void oneText(const char* name, const char* text) {
  OneText f = (OneText)need(name);
  if (f) fprintf(results, "%s(\"%s\") = %d\n", name, text, f(text));
}

static void printText(const char* label, const char* text) {
  TextAndCount f = (TextAndCount)need("TQ587_iImprimirTexto");
  if (f) fprintf(results, "TQ587_iImprimirTexto(%s) = %d\n", label, f(text, 0));
}

static FpSettings callersFp;

static void checkFp(const char* when) {
  const FpSettings now = readFp();
  if (memcmp(&now, &callersFp, sizeof now) != 0) {
    fprintf(results, "floating-point settings changed %s\n", when);
    callersFp = now;
    ++failures;
  }
}

static void printPicture(const char* path) {
  OneText bmp = (OneText)need("TQ587_iImprimirBMP");
  OneText imagem = (OneText)need("TQ587_iImprimirImagem");
  TextAndCount texto = (TextAndCount)need("TQ587_iImprimirTexto");
  char tag[600];
  if (!bmp || !imagem || !texto || strlen(path) + 14 > sizeof tag) return;
  sprintf(tag, "<ibmp>%s</ibmp>", path);
  fprintf(results, "%s: BMP %d", path, bmp(path));
  fprintf(results, " Imagem %d", imagem(path));
  fprintf(results, " ibmp %d\n", texto(tag, 0));
}

/* A rewrite of CONVERSOR.INI leaves no new file beside it, even where a
 * stopped process left one, and on Windows keeps a hidden file hidden. */
static void prepareRewrite(void) {
  FILE* stale = fopen("CONVERSOR.INI.novo", "wb");
  if (stale) fclose(stale);
#ifdef _WIN32
  SetFileAttributesA("CONVERSOR.INI", FILE_ATTRIBUTE_HIDDEN);
#endif
}

static void checkRewrite(void) {
  FILE* stale = fopen("CONVERSOR.INI.novo", "rb");
  if (stale) {
    fclose(stale);
    fprintf(results, "CONVERSOR.INI.novo left behind\n");
    ++failures;
  }
#ifdef _WIN32
  {
    const DWORD attributes = GetFileAttributesA("CONVERSOR.INI");
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_HIDDEN)) {
      fprintf(results, "CONVERSOR.INI no longer hidden\n");
      ++failures;
    }
  }
#endif
}

/* Names that are no file: the device NUL (on Windows) and a folder. Neither
 * is a picture; a folder as CONVERSOR.INI is read as no file (the defaults)
 * and cannot be written. */
static void noFiles(void) {
  oneText("TQ587_iImprimirBMP", "NUL");
  mkdir("pasta.bmp", 0755);
  oneText("TQ587_iImprimirImagem", "pasta.bmp");
  rename("CONVERSOR.INI", "guardado.ini");
  mkdir("CONVERSOR.INI", 0755);
  oneText("TQ587_regModoGaveta", "0");
  printText("beside a folder as CONVERSOR.INI", "a");
  rmdir("CONVERSOR.INI");
  rename("guardado.ini", "CONVERSOR.INI");
}

int main(int argc, char** argv) {
  static const char* const kPlaceholders[] = {
      "TQ587_iConfigurarGuilhotina", "TQ587_rConsultaStatusImpressora",
      "TQ587_regLinhasGuilhotina", "TQ587_regPortaComunicacao", "TQ587_regVelocidade"};
  size_t i;
  int image;
  if (argc < 2 || (argc > 2 && !setFp(argv[2]))) {
    fprintf(stderr, "usage: tq587-scenario LIBRARY [X87[:MXCSR]|- [IMAGE...]]\n");
    return 2;
  }
  callersFp = readFp();
  results = fopen("results.txt", "wb");
  if (!results) return 2;
  setvbuf(results, NULL, _IONBF, 0); /* all that was answered, should a call crash */
  library = openLibrary(argv[1]);
  if (!library) {
    fprintf(results, "cannot load %s\n", argv[1]);
    fclose(results);
    return 1;
  }
  checkFp("by loading the library");

  noArguments("TQ587_eBuscarPortaVelocidade");
  printText("receipt",
            "<ce><e><b>PADARIA BOA VISTA</b></e>\nRua das Flores, 123 - S\xE3o Jos\xE9</ce>\n"
            "<tc>-</tc>\nP\xE3o franc\xEAs 10 x 0,50      5,00\n<s>Caf\xE9</s> coado\t4,50\n"
            "<b>Total                     9,50</b>\n<ce><ean13>789100031550</ean13>\n"
            "<qrcode>https://example.com/nota/000123</qrcode>\nObrigado!</ce>\n<gui></gui>");
  printText("unknown tag", "<zz>a < b</zz>");
  printText("control character", "linha\x01");
  oneText("TQ587_iImprimirBMP", kPicture);
  oneText("TQ587_iImprimirImagem", kPicture);
  oneText("TQ587_iImprimirBMP", "missing.bmp");
  noArguments("TQ587_iAcionarGaveta");
  prepareRewrite();
  oneText("TQ587_regCodePageAutomatico", "0");
  oneText("TQ587_regEnterFinal", "0");
  oneText("TQ587_regModoGaveta", "1");
  oneText("TQ587_regTabulacao", "04,08,12,16,20,24");
  oneText("TQ587_regTabulacao", "01,02,03,04,05,06,07");
  oneText("TQ587_regEnterFinal", "x");
  checkRewrite();
  printText("after the settings", "A\tB\tC");
  noFiles();
  for (i = 0; i < sizeof kPlaceholders / sizeof kPlaceholders[0]; ++i) {
    Placeholder f = (Placeholder)need(kPlaceholders[i]);
    if (f) fprintf(results, "%s(7, 8) = %d\n", kPlaceholders[i], f(7, 8));
  }
  noArguments("TQ587_fecharPorta");
  noArguments("TQ587_fecharPorta");
  for (image = 3; image < argc; ++image) printPicture(argv[image]);
  checkFp("by the calls");
  fclose(results);
  return failures == 0 ? 0 : 1;
}

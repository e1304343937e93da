unit TQ587;
{ The driver library of the TQ587 receipt printer for Delphi and Free
  Pascal: its fifteen functions, cdecl, from TQ587.dll on Windows and
  libTQ587.so on Linux.

  Texts go to the printer as the bytes they hold, and the printer reads
  them as Windows-1252. Where strings carry a code page (Delphi 2009 and
  later, Free Pascal 3), pass them as TQ587Text and they are converted
  (a character Windows-1252 does not have becomes '?', or on Windows
  a look-alike):
      TQ587_iImprimirTexto(PAnsiChar(TQ587Text(Texto)), 0);
  Free Pascal on Linux needs cwstring in the program's uses for that.
  Older Delphi strings are already in the ANSI code page: PAnsiChar(Texto). }
{$IFDEF FPC}{$MODE DELPHI}{$ENDIF}

interface

const
{$IFDEF MSWINDOWS}
  TQ587Library = 'TQ587.dll';
{$ELSE}
  TQ587Library = 'TQ587';
{$ENDIF}

  { The results of the functions. }
  TQ587_DONE = 1;
  TQ587_NOT_DONE = 0;             { printer not reachable, a send failed, or nothing to do }
  TQ587_UPDATE_ERROR = -1;        { CONVERSOR.INI not written, or a tag's update error }
  TQ587_NOT_A_BMP = -8;           { the picture could not be read as a BMP }
  TQ587_GENERIC_ERROR = -27;      { a tag of the text reported a generic error }
  TQ587_INVALID_PARAMETER = -99;

{$IFDEF FPC}
  {$IF FPC_FULLVERSION >= 30000}{$DEFINE TQ587_CODE_PAGES}{$IFEND}
{$ELSE}
  {$IF CompilerVersion >= 20.0}{$DEFINE TQ587_CODE_PAGES}{$IFEND}
{$ENDIF}
{$IFDEF TQ587_CODE_PAGES}
type
  TQ587Text = type AnsiString(1252);
{$ENDIF}

function TQ587_eBuscarPortaVelocidade: Integer; cdecl; external TQ587Library;
function TQ587_fecharPorta: Integer; cdecl; external TQ587Library;
function TQ587_iAcionarGaveta: Integer; cdecl; external TQ587Library;
function TQ587_iImprimirTexto(Texto: PAnsiChar; N: Integer): Integer; cdecl; external TQ587Library;
function TQ587_iImprimirBMP(Arquivo: PAnsiChar): Integer; cdecl; external TQ587Library;
function TQ587_iImprimirImagem(Arquivo: PAnsiChar): Integer; cdecl; external TQ587Library;
function TQ587_regCodePageAutomatico(Valor: PAnsiChar): Integer; cdecl; external TQ587Library;
function TQ587_regEnterFinal(Valor: PAnsiChar): Integer; cdecl; external TQ587Library;
function TQ587_regModoGaveta(Valor: PAnsiChar): Integer; cdecl; external TQ587Library;
function TQ587_regTabulacao(Valor: PAnsiChar): Integer; cdecl; external TQ587Library;
{ Placeholders: they do nothing and return 0. }
function TQ587_iConfigurarGuilhotina: Integer; cdecl; external TQ587Library;
function TQ587_rConsultaStatusImpressora: Integer; cdecl; external TQ587Library;
function TQ587_regLinhasGuilhotina: Integer; cdecl; external TQ587Library;
function TQ587_regPortaComunicacao: Integer; cdecl; external TQ587Library;
function TQ587_regVelocidade: Integer; cdecl; external TQ587Library;

implementation

end.

// TQ587.cs - the driver library of the TQ587 receipt printer for C#: its
// fifteen functions under their own names, for .NET Framework, .NET 6 and
// later, and Mono, on Windows and Linux.
//
// Texts and setting values go to the printer as Windows-1252 bytes on every
// platform, whatever the system's code page or the runtime's marshalling
// (CharSet.Ansi sends UTF-8 on Linux, and "São" would print as "SÃ£o"):
// "São" arrives as 53 E3 6F. A character Windows-1252 does not have is
// refused with an ArgumentException naming it, and nothing is sent. File
// names go in the system's encoding of file names (the ANSI code page on
// Windows, UTF-8 on Linux), so that the library finds the file.
//
// .NET 6 and later carry only a few encodings; call once at start-up
//     Encoding.RegisterProvider(CodePagesEncodingProvider.Instance);
// (.NET Framework and Mono have Windows-1252 without it).
//
// The library is named "TQ587": TQ587.dll on Windows, beside the .exe (a
// 32-bit program needs the 32-bit DLL: set the platform target to x86 or
// x64 to match); libTQ587.so on Linux, where .NET and Mono add "lib" and
// ".so" and look in the application's folder and the system's library path
// (LD_LIBRARY_PATH=/opt/tq587 mono app.exe), and Mono also follows a
// <dllmap dll="TQ587" target="/opt/tq587/libTQ587.so"/> in app.exe.config.
using System;
using System.Runtime.InteropServices;
using System.Text;

public static class TQ587
{
    const string Library = "TQ587";
    const CallingConvention Cdecl = CallingConvention.Cdecl;

    // The results of the functions.
    public const int Done = 1;
    public const int NotDone = 0;             // printer not reachable, a send failed, or nothing to do
    public const int UpdateError = -1;        // CONVERSOR.INI not written, or a tag's update error
    public const int NotABmp = -8;            // the picture could not be read as a BMP
    public const int GenericError = -27;      // a tag of the text reported a generic error
    public const int InvalidParameter = -99;

    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_eBuscarPortaVelocidade();
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_fecharPorta();
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_iAcionarGaveta();

    // Placeholders: they do nothing and return 0.
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_iConfigurarGuilhotina();
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_rConsultaStatusImpressora();
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_regLinhasGuilhotina();
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_regPortaComunicacao();
    [DllImport(Library, CallingConvention = Cdecl)] public static extern int TQ587_regVelocidade();

    // texto in the tag mark-up; n is 0 (the text's own length is checked
    // against 2000) or the caller's character count (checked instead).
    public static int TQ587_iImprimirTexto(string texto, int n) { return ImprimirTexto(Windows1252(texto, "texto"), n); }
    public static int TQ587_iImprimirBMP(string arquivo) { return ImprimirBMP(FileName(arquivo)); }
    public static int TQ587_iImprimirImagem(string arquivo) { return ImprimirImagem(FileName(arquivo)); }
    public static int TQ587_regCodePageAutomatico(string valor) { return RegCodePageAutomatico(Windows1252(valor, "valor")); }
    public static int TQ587_regEnterFinal(string valor) { return RegEnterFinal(Windows1252(valor, "valor")); }
    public static int TQ587_regModoGaveta(string valor) { return RegModoGaveta(Windows1252(valor, "valor")); }
    public static int TQ587_regTabulacao(string valor) { return RegTabulacao(Windows1252(valor, "valor")); }

    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_iImprimirTexto")]
    static extern int ImprimirTexto(byte[] texto, int n);
    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_iImprimirBMP", CharSet = CharSet.Ansi)]
    static extern int ImprimirBMP(string arquivo);
    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_iImprimirImagem", CharSet = CharSet.Ansi)]
    static extern int ImprimirImagem(string arquivo);
    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_regCodePageAutomatico")]
    static extern int RegCodePageAutomatico(byte[] valor);
    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_regEnterFinal")]
    static extern int RegEnterFinal(byte[] valor);
    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_regModoGaveta")]
    static extern int RegModoGaveta(byte[] valor);
    [DllImport(Library, CallingConvention = Cdecl, EntryPoint = "TQ587_regTabulacao")]
    static extern int RegTabulacao(byte[] valor);

    static Encoding windows1252;

    // The text as Windows-1252 bytes and the terminating zero.
    static byte[] Windows1252(string text, string parameter)
    {
        if (text == null) throw new ArgumentNullException(parameter);
        if (windows1252 == null)
        {
            try
            {
                windows1252 = Encoding.GetEncoding(1252, EncoderFallback.ExceptionFallback, DecoderFallback.ExceptionFallback);
            }
            catch (NotSupportedException e)
            {
                throw new InvalidOperationException("Windows-1252 is not available: call " +
                    "Encoding.RegisterProvider(CodePagesEncodingProvider.Instance) once at start-up", e);
            }
        }
        byte[] bytes = new byte[text.Length + 1];  // one byte a character; the last stays 0
        try
        {
            windows1252.GetBytes(text, 0, text.Length, bytes, 0);
        }
        catch (EncoderFallbackException e)
        {
            bool pair = e.CharUnknown == '\0';
            string character = pair ? new string(new[] { e.CharUnknownHigh, e.CharUnknownLow }) : e.CharUnknown.ToString();
            int code = pair ? char.ConvertToUtf32(e.CharUnknownHigh, e.CharUnknownLow) : e.CharUnknown;
            throw new ArgumentException(string.Format("'{0}' (U+{1:X4}) at index {2} cannot be printed: it is not in Windows-1252",
                character, code, e.Index), parameter, e);
        }
        return bytes;
    }

    static string FileName(string name)
    {
        if (name == null) throw new ArgumentNullException("arquivo");
        return name;
    }
}

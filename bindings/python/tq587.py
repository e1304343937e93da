"""The driver library of the TQ587 receipt printer for Python 3 (ctypes).

    import tq587
    if tq587.imprimir_texto("<ce>São Paulo</ce>\\n") != tq587.Result.DONE: ...

Copy this file beside your program; nothing to install. Every function has
the library's name (tq587.TQ587_iImprimirTexto) and a Python one, the same
Portuguese words in snake case, without the kind letter e, i or r
(imprimir_texto, acionar_gaveta, reg_tabulacao). Each returns a Result.

Texts and setting values are str, sent as Windows-1252 bytes ("São" arrives
as 53 E3 6F), or bytes, sent as they are. A character Windows-1252 does not
have raises ValueError naming it, and nothing is sent. File names are str,
bytes or paths, in the system's encoding of file names.

The library: the file named by the environment variable TQ587_LIBRARY, else
TQ587.dll or libTQ587.so beside this module, else the system's library path
(LD_LIBRARY_PATH on Linux). A 32-bit Python needs the 32-bit TQ587.dll.
"""
import ctypes
import enum
import os


class Result(enum.IntEnum):
    DONE = 1
    NOT_DONE = 0  # printer not reachable, a send failed, or nothing to do
    UPDATE_ERROR = -1  # CONVERSOR.INI not written, or a tag's update error
    NOT_A_BMP = -8  # the picture could not be read as a BMP
    GENERIC_ERROR = -27  # a tag of the text reported a generic error
    INVALID_PARAMETER = -99


def _load():
    name = "TQ587.dll" if os.name == "nt" else "libTQ587.so"
    beside = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
    path = os.environ.get("TQ587_LIBRARY") or (beside if os.path.exists(beside) else name)
    try:
        return ctypes.CDLL(path)
    except OSError as e:
        raise ImportError(f"cannot load the TQ587 library ({e}): set TQ587_LIBRARY to its path, "
                          f"or put {name} beside {__file__} or in the system's library path") from e


_library = _load()
_TEXT, _INT = ctypes.c_char_p, ctypes.c_int
for _name, _argtypes in {
        "TQ587_eBuscarPortaVelocidade": [], "TQ587_fecharPorta": [], "TQ587_iAcionarGaveta": [],
        "TQ587_iImprimirTexto": [_TEXT, _INT], "TQ587_iImprimirBMP": [_TEXT], "TQ587_iImprimirImagem": [_TEXT],
        "TQ587_regCodePageAutomatico": [_TEXT], "TQ587_regEnterFinal": [_TEXT],
        "TQ587_regModoGaveta": [_TEXT], "TQ587_regTabulacao": [_TEXT],
        "TQ587_iConfigurarGuilhotina": [], "TQ587_rConsultaStatusImpressora": [],
        "TQ587_regLinhasGuilhotina": [], "TQ587_regPortaComunicacao": [], "TQ587_regVelocidade": []}.items():
    getattr(_library, _name).argtypes = _argtypes
    getattr(_library, _name).restype = Result
del _name, _argtypes


def _windows1252(text):
    if isinstance(text, bytes):
        return text
    if not isinstance(text, str):
        raise TypeError(f"a str or bytes, not {type(text).__name__}")
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError as e:
        bad = text[e.start]
        raise ValueError(f"{bad!r} (U+{ord(bad):04X}) at index {e.start} cannot be printed: "
                         f"it is not in Windows-1252") from None


def _file_name(path):
    path = os.fspath(path)
    # the library opens it with the system's 8-bit calls: the ANSI code page on Windows
    return path.encode("mbcs") if os.name == "nt" and isinstance(path, str) else os.fsencode(path)


def buscar_porta_velocidade():
    """Connects: the configured port and speed, else a search, or USB. DONE when connected."""
    return _library.TQ587_eBuscarPortaVelocidade()


def fechar_porta():
    """Closes the connection. DONE when there was none or it closed."""
    return _library.TQ587_fecharPorta()


def acionar_gaveta():
    """Kicks the cash drawer."""
    return _library.TQ587_iAcionarGaveta()


def imprimir_texto(texto, n=0):
    """Prints a text in the tag mark-up; n: 0, or the caller's character count (at most 2000)."""
    return _library.TQ587_iImprimirTexto(_windows1252(texto), n)


def imprimir_bmp(arquivo):
    """Prints a BMP picture, every pixel dark or light by a fixed threshold."""
    return _library.TQ587_iImprimirBMP(_file_name(arquivo))


def imprimir_imagem(arquivo):
    """Prints a BMP picture dithered, grey as dot density."""
    return _library.TQ587_iImprimirImagem(_file_name(arquivo))


def reg_code_page_automatico(valor):
    return _library.TQ587_regCodePageAutomatico(_windows1252(valor))


def reg_enter_final(valor):
    return _library.TQ587_regEnterFinal(_windows1252(valor))


def reg_modo_gaveta(valor):
    return _library.TQ587_regModoGaveta(_windows1252(valor))


def reg_tabulacao(valor):
    return _library.TQ587_regTabulacao(_windows1252(valor))


# Placeholders: they take any arguments, do nothing and return NOT_DONE.
def configurar_guilhotina(*_):
    return _library.TQ587_iConfigurarGuilhotina()


def consulta_status_impressora(*_):
    return _library.TQ587_rConsultaStatusImpressora()


def reg_linhas_guilhotina(*_):
    return _library.TQ587_regLinhasGuilhotina()


def reg_porta_comunicacao(*_):
    return _library.TQ587_regPortaComunicacao()


def reg_velocidade(*_):
    return _library.TQ587_regVelocidade()


TQ587_eBuscarPortaVelocidade = buscar_porta_velocidade
TQ587_fecharPorta = fechar_porta
TQ587_iAcionarGaveta = acionar_gaveta
TQ587_iImprimirTexto = imprimir_texto
TQ587_iImprimirBMP = imprimir_bmp
TQ587_iImprimirImagem = imprimir_imagem
TQ587_regCodePageAutomatico = reg_code_page_automatico
TQ587_regEnterFinal = reg_enter_final
TQ587_regModoGaveta = reg_modo_gaveta
TQ587_regTabulacao = reg_tabulacao
TQ587_iConfigurarGuilhotina = configurar_guilhotina
TQ587_rConsultaStatusImpressora = consulta_status_impressora
TQ587_regLinhasGuilhotina = reg_linhas_guilhotina
TQ587_regPortaComunicacao = reg_porta_comunicacao
TQ587_regVelocidade = reg_velocidade

// tq587 - calls the driver library from the command line, as an
// application would: it loads libTQ587.so (TQ587.dll on Windows), calls one
// function and prints the result code with its meaning.
//
// The library reads CONVERSOR.INI (and, off Windows, dosdevices/) from the
// current directory, so run the tool from the directory that holds them.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

#include "ToolPlatform.h"
#include "config/IniFile.h"
#include "log/Log.h"
#include "text/ImprimeTexto.h"
#include "tq587.h"

namespace {

// Where the library reads its settings: the current directory.
const char kIniFile[] = "CONVERSOR.INI";
// The log folder as the library names it.
const char kKorva[] = "c:\\KORVA\\";

using NoArgument = int (*)();
using TextArgument = int (*)(const char*);
using TextAndCount = int (*)(const char*, int);

// What a command passes to its function.
enum class Argument { None, Value, File, MarkedUpText };

struct Command {
  const char* name;
  const char* function;
  Argument argument;
  const char* what;  // the argument as the help shows it
  const char* help;
};

const Command kCommands[] = {
    {"text", "TQ587_iImprimirTexto", Argument::MarkedUpText, "[FILE|-]", "print a marked-up text (standard input by default)"},
    {"bmp", "TQ587_iImprimirBMP", Argument::File, "FILE", "print a BMP picture by threshold"},
    {"image", "TQ587_iImprimirImagem", Argument::File, "FILE", "print a BMP picture dithered"},
    {"drawer", "TQ587_iAcionarGaveta", Argument::None, "", "kick the cash drawer"},
    {"connect", "TQ587_eBuscarPortaVelocidade", Argument::None, "", "connect, searching ports and speeds"},
    {"codepage", "TQ587_regCodePageAutomatico", Argument::Value, "0|1", "automatic code page"},
    {"enter", "TQ587_regEnterFinal", Argument::Value, "0|1", "automatic final line feed"},
    {"drawer-mode", "TQ587_regModoGaveta", Argument::Value, "0|1", "inverted drawer"},
    {"tabs", "TQ587_regTabulacao", Argument::Value, "LIST", "tab columns, e.g. 05,10,15"},
    {"close", "TQ587_fecharPorta", Argument::None, "", "close the connection"},
};

struct Option {
  const char* name;
  const char* help;
};
const Option kOptions[] = {
    {"--lib PATH", "the driver library to load (default: the one beside this tool)"},
    {"--init", "write CONVERSOR.INI with the library's defaults here, then run COMMAND if given"},
    {"--force", "run without CONVERSOR.INI: the library creates one and searches COM1..COM20"},
    {"--log", "show the library's log for this run (LOGDIARIO on, put back afterwards)"},
    {"--version", "the version of this tool and its library"},
    {"-h, --help", "this help"},
};

const char* meaning(int result) {
  switch (result) {
    case TQ587_DONE: return "done";
    case TQ587_NOT_DONE: return "printer not reachable, or a send failed";
    case TQ587_UPDATE_ERROR: return "CONVERSOR.INI not written, or a tag update error";
    case TQ587_NOT_A_BMP: return "not a readable BMP";
    case TQ587_GENERIC_ERROR: return "a tag reported a generic error";
    case TQ587_INVALID_PARAMETER: return "invalid parameter";
    default: return "unknown result";
  }
}

void help() {
  std::printf("usage: tq587 [OPTIONS] COMMAND [ARGUMENT]   (run it where CONVERSOR.INI is)\n");
  std::printf("options:\n");
  for (const Option& o : kOptions) std::printf("  %-14s %s\n", o.name, o.help);
  std::printf("commands:\n");
  for (const Command& c : kCommands) std::printf("  %-11s %-8s %s\n", c.name, c.what, c.help);
}

int fail(const std::string& message) {
  std::fprintf(stderr, "tq587: %s\n", message.c_str());
  return 2;
}

// The text to print; an empty error when it was read.
std::string readText(const char* path, std::string& text) {
  if (path == nullptr || std::strcmp(path, "-") == 0) {
    if (tool_platform::stdinIsTerminal()) {
      std::fprintf(stderr, "tq587: reading the text from standard input (end it with Ctrl-D)\n");
    }
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return "";
  }
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return std::string("cannot read ") + path + ": " + std::strerror(errno);
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
  std::fclose(f);
  return "";
}

// --log: the daily log switch on (and LOG left out, so it cannot silence
// it) for the run, then the two switches as they were. Without a log folder
// the library says "Erro ao escrever no arquivo" for every line; the lines
// are shown all the same, so the tool holds that back and says once where
// the folder should be.
class LogForTheRun {
 public:
  LogForTheRun() {
    // c:\KORVA\ itself on Windows; elsewhere dosdevices/c:/KORVA/, or
    // /var/log/KORVA/ where there is no dosdevices/c:.
    const std::string folder = tq587::logDirectory();
    if (access(folder.c_str(), W_OK) != 0) {
      const int error = errno;
      const std::string named = folder == kKorva ? folder : folder + " (" + kKorva + ")";
      folderProblem_ = "no log file was written: the log folder " + named + " " +
                       (error == ENOENT ? "does not exist; create it with: " + tool_platform::makeFolderCommand(folder)
                                        : "cannot be written: " + std::string(std::strerror(error)));
      holding_ = tool_platform::holdBackStderrLines("Erro ao escrever no arquivo: " + folder);
    }
    Configuration c;
    if (!ini::readFile(kIniFile, c)) return;
    saved_ = c;
    c.dailyLog = 'S';
    c.dailyLogPresent = true;
    c.log = ' ';
    c.logPresent = false;
    active_ = ini::writeFile(kIniFile, c);
  }
  ~LogForTheRun() {
    putBack();
    if (folderProblem_.empty()) return;
    if (holding_) tool_platform::stopHoldingBack();
    std::fprintf(stderr, "tq587: %s\n", folderProblem_.c_str());
  }
  LogForTheRun(const LogForTheRun&) = delete;
  LogForTheRun& operator=(const LogForTheRun&) = delete;

 private:
  void putBack() {
    // The run may have stored a port, a speed or a setting: keep those.
    Configuration c;
    if (!active_ || !ini::readFile(kIniFile, c)) return;
    c.dailyLog = saved_.dailyLog;
    c.dailyLogPresent = saved_.dailyLogPresent;
    c.log = saved_.log;
    c.logPresent = saved_.logPresent;
    ini::writeFile(kIniFile, c);
  }

  Configuration saved_{};
  bool active_ = false;
  std::string folderProblem_;  // empty when the log files can be written
  bool holding_ = false;  // the library's complaint for each line held back
};

int call(const std::string& library, const Command& command, const char* argument,
         const std::string& text) {
  std::string error;
  void* handle = tool_platform::loadLibrary(library, error);
  if (handle == nullptr) return fail(error);
  void* symbol = tool_platform::findFunction(handle, command.function, error);
  if (symbol == nullptr) return fail(error);
  int result = 0;
  switch (command.argument) {
    case Argument::None: result = reinterpret_cast<NoArgument>(symbol)(); break;
    case Argument::Value:
    case Argument::File: result = reinterpret_cast<TextArgument>(symbol)(argument); break;
    case Argument::MarkedUpText: result = reinterpret_cast<TextAndCount>(symbol)(text.c_str(), 0); break;
  }
  std::printf("%s: %d (%s)\n", command.function, result, meaning(result));
  std::fflush(stdout);
  // The library counts the text up to its first zero byte; it checks the
  // length once it has reached the printer, but refuses a longer text anyway.
  const size_t length = std::strlen(text.c_str());
  if (command.argument == Argument::MarkedUpText && result != TQ587_DONE && length > ImprimeTexto::kMaxCharacters) {
    std::fprintf(stderr, "tq587: the library refuses texts longer than %d characters, and this one has %zu: split the "
                 "text into several calls\n", ImprimeTexto::kMaxCharacters, length);
  }
  // The library is left loaded: it keeps its connection to the end.
  return result == TQ587_DONE ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string library;
  bool init = false, force = false, withLog = false;
  int k = 1;
  for (; k < argc && argv[k][0] == '-' && std::strcmp(argv[k], "-") != 0; ++k) {
    const std::string option = argv[k];
    if (option == "-h" || option == "--help") {
      help();
      return 0;
    } else if (option == "--version") {
      std::printf("tq587 %s\n", TQ587_VERSION);
      return 0;
    } else if (option == "--lib") {
      if (k + 1 >= argc) return fail("--lib needs a PATH");
      library = argv[++k];
    } else if (option == "--init") {
      init = true;
    } else if (option == "--force") {
      force = true;
    } else if (option == "--log") {
      withLog = true;
    } else {
      return fail("unknown option " + option + " (see tq587 --help)");
    }
  }

  const bool haveIni = access(kIniFile, F_OK) == 0;
  if (init) {
    if (haveIni) return fail("CONVERSOR.INI is already here; edit it, or remove it first");
    Configuration defaults{};
    ini::setDefaults(defaults);
    if (!ini::writeFile(kIniFile, defaults)) {
      return fail(std::string("cannot write CONVERSOR.INI here: ") + std::strerror(errno));
    }
    std::printf("wrote CONVERSOR.INI: COM1 at 115200 bit/s, serial; edit PORTA, VELOCIDADE and "
                "METODO_DE_COMUNICACAO to match the printer\n");
    if (k >= argc) return 0;
  }
  if (k >= argc) return fail("no command given (see tq587 --help)");

  const Command* command = nullptr;
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[k], c.name) == 0) command = &c;
  }
  if (command == nullptr) return fail(std::string("unknown command '") + argv[k] + "' (see tq587 --help)");
  const char* argument = k + 1 < argc ? argv[k + 1] : nullptr;
  const bool needsArgument = command->argument == Argument::Value || command->argument == Argument::File;
  if (needsArgument && argument == nullptr) {
    return fail(std::string(command->name) + " needs " + command->what);
  }
  if (command->argument == Argument::None ? k + 1 < argc : k + 2 < argc) {
    return fail(std::string("too many arguments for ") + command->name);
  }
  if (!haveIni && !init && !force) {
    return fail("no CONVERSOR.INI in this directory. Loaded without one, the library writes the "
                "defaults and searches the serial ports COM1 to COM20 for a printer. Start with "
                "'tq587 --init' and edit the file (or see the README), or pass --force.");
  }
  std::string text;
  if (command->argument == Argument::MarkedUpText) {
    const std::string error = readText(argument, text);
    if (!error.empty()) return fail(error);
  }
  if (command->argument == Argument::File && access(argument, R_OK) != 0) {
    // Still handed to the library, which answers -8; the user learns why.
    std::fprintf(stderr, "tq587: %s: %s\n", argument, std::strerror(errno));
  }

  if (library.empty()) library = tool_platform::defaultLibrary();
  if (!withLog) return call(library, *command, argument, text);
  LogForTheRun log;
  return call(library, *command, argument, text);
}

// tq587 - calls the driver library from the command line, as an
// application would: it loads libTQ587.so, calls one function and prints
// the result code with its meaning.
//
// The library reads CONVERSOR.INI and dosdevices/ from the current
// directory, so run the tool from the directory that holds them.
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <string>

namespace {

using NoArgument = int (*)();
using TextArgument = int (*)(const char*);
using TextAndCount = int (*)(const char*, int);

// What a command passes to its function.
enum class Argument { None, Value, File, MarkedUpText };

struct Command {
  const char* name;
  const char* function;
  Argument argument;
  const char* help;
};

const Command kCommands[] = {
    {"text", "TQ587_iImprimirTexto", Argument::MarkedUpText, "[FILE|-]  print a marked-up text (stdin by default)"},
    {"bmp", "TQ587_iImprimirBMP", Argument::File, "FILE      print a BMP picture by threshold"},
    {"image", "TQ587_iImprimirImagem", Argument::File, "FILE      print a BMP picture dithered"},
    {"drawer", "TQ587_iAcionarGaveta", Argument::None, "          kick the cash drawer"},
    {"connect", "TQ587_eBuscarPortaVelocidade", Argument::None, "          connect, searching ports and speeds"},
    {"codepage", "TQ587_regCodePageAutomatico", Argument::Value, "0|1       automatic code page"},
    {"enter", "TQ587_regEnterFinal", Argument::Value, "0|1       automatic final line feed"},
    {"drawer-mode", "TQ587_regModoGaveta", Argument::Value, "0|1       inverted drawer"},
    {"tabs", "TQ587_regTabulacao", Argument::Value, "LIST      tab columns, e.g. 05,10,15"},
    {"close", "TQ587_fecharPorta", Argument::None, "          close the connection"},
};

const char* meaning(int result) {
  switch (result) {
    case 1: return "done";
    case 0: return "printer not reachable, or a send failed";
    case -1: return "CONVERSOR.INI not written, or a tag update error";
    case -8: return "not a readable BMP";
    case -27: return "a tag reported a generic error";
    case -99: return "invalid parameter";
    default: return "unknown result";
  }
}

void usage() {
  std::fprintf(stderr, "usage: tq587 [--lib PATH] COMMAND [ARGUMENT]\n");
  for (const Command& c : kCommands) std::fprintf(stderr, "  %-12s %s\n", c.name, c.help);
}

// The library beside the build: this program lives in <build>/tools, the
// library in <build>. Failing that, the loader's own search.
std::string defaultLibrary() {
  char self[PATH_MAX] = {};
  const ssize_t got = readlink("/proc/self/exe", self, sizeof self - 1);
  if (got > 0) {
    std::string dir(self, static_cast<size_t>(got));
    dir.erase(dir.rfind('/'));
    for (const std::string& candidate : {dir + "/../libTQ587.so", dir + "/libTQ587.so"}) {
      if (access(candidate.c_str(), R_OK) == 0) return candidate;
    }
  }
  return "libTQ587.so";
}

bool readText(const char* path, std::string& text) {
  if (path == nullptr || std::strcmp(path, "-") == 0) {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return true;
  }
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
  std::fclose(f);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string library;
  int k = 1;
  if (k + 1 < argc && std::strcmp(argv[k], "--lib") == 0) {
    library = argv[k + 1];
    k += 2;
  }
  if (k >= argc) {
    usage();
    return 2;
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[k], c.name) == 0) command = &c;
  }
  const char* argument = k + 1 < argc ? argv[k + 1] : nullptr;
  const bool needsArgument = command != nullptr && (command->argument == Argument::Value ||
                                                    command->argument == Argument::File);
  if (command == nullptr || (needsArgument && argument == nullptr) || k + 2 < argc) {
    usage();
    return 2;
  }
  std::string text;
  if (command->argument == Argument::MarkedUpText && !readText(argument, text)) {
    std::fprintf(stderr, "tq587: cannot read %s\n", argument);
    return 2;
  }

  if (library.empty()) library = defaultLibrary();
  void* handle = dlopen(library.c_str(), RTLD_NOW);
  if (handle == nullptr) {
    std::fprintf(stderr, "tq587: %s\n", dlerror());
    return 2;
  }
  void* symbol = dlsym(handle, command->function);
  if (symbol == nullptr) {
    std::fprintf(stderr, "tq587: %s\n", dlerror());
    return 2;
  }
  int result = 0;
  switch (command->argument) {
    case Argument::None: result = reinterpret_cast<NoArgument>(symbol)(); break;
    case Argument::Value:
    case Argument::File: result = reinterpret_cast<TextArgument>(symbol)(argument); break;
    case Argument::MarkedUpText: result = reinterpret_cast<TextAndCount>(symbol)(text.c_str(), 0); break;
  }
  std::printf("%s: %d (%s)\n", command->function, result, meaning(result));
  std::fflush(stdout);
  // The library is left loaded: it keeps its connection to the end.
  return result == 1 ? 0 : 1;
}

// LibraryTest.cpp - libTQ587.so loaded as an application loads it, with no
// printer attached: start-up, results without a printer, the export table.
#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

const char* const kExports[] = {
    "TQ587_eBuscarPortaVelocidade", "TQ587_fecharPorta",
    "TQ587_iAcionarGaveta",         "TQ587_iImprimirTexto",
    "TQ587_iImprimirBMP",           "TQ587_iImprimirImagem",
    "TQ587_regCodePageAutomatico",  "TQ587_regEnterFinal",
    "TQ587_regModoGaveta",          "TQ587_regTabulacao",
    "TQ587_iConfigurarGuilhotina",  "TQ587_rConsultaStatusImpressora",
    "TQ587_regLinhasGuilhotina",    "TQ587_regPortaComunicacao",
    "TQ587_regVelocidade",
};

std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void removeTree(const std::string& path) {
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const std::string child = path + "/" + name;
      struct stat st;
      if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        removeTree(child);
      } else {
        unlink(child.c_str());
      }
    }
    closedir(dir);
  }
  rmdir(path.c_str());
}

// The library, loaded once for the whole program in a scratch current
// directory where COM1..COM20 lead nowhere.
struct Loaded {
  void* handle = nullptr;
  std::string error;
  double loadSeconds = 0;
  std::string iniAtLoad;
  std::string scratch;
  std::string oldDir;
};
Loaded gLib;

class LibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd)) gLib.oldDir = cwd;
    char pattern[] = "/tmp/tq587-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    gLib.scratch = pattern;
    ASSERT_EQ(chdir(gLib.scratch.c_str()), 0);
    // A serial port COMn is the device behind dosdevices/comn: here every
    // one of them is a dangling link, so no port is found.
    ASSERT_EQ(mkdir("dosdevices", 0755), 0);
    for (int n = 1; n <= 20; ++n) {
      const std::string link = "dosdevices/com" + std::to_string(n);
      ASSERT_EQ(symlink("/nonexistent/ttyS-none", link.c_str()), 0);
    }
    const auto start = std::chrono::steady_clock::now();
    gLib.handle = dlopen(TQ587_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    gLib.loadSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!gLib.handle) gLib.error = dlerror();
    gLib.iniAtLoad = readFile("CONVERSOR.INI");
  }
  void TearDown() override {
    // The library stays loaded: it does nothing at unload anyway.
    if (!gLib.oldDir.empty() && chdir(gLib.oldDir.c_str()) == 0) removeTree(gLib.scratch);
  }
};

const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

template <typename Function>
Function* symbol(const char* name) {
  return reinterpret_cast<Function*>(dlsym(gLib.handle, name));
}

using NoArgs = int();
using Text = int(const char*);

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(gLib.handle, nullptr) << gLib.error; }
};

TEST_F(LibraryTest, LoadWritesTheDefaultConfiguration) {
  EXPECT_EQ(gLib.iniAtLoad,
            "\r\n\r\n[TQ587]\r\n"
            "   PORTA = COM1\r\n"
            "   VELOCIDADE = 115200\r\n"
            "   CONTROLE_DE_FLUXO = DTR/DSR\r\n"
            "   CODEPAGE_AUTOMATICO = 1\r\n"
            "   ENTERAUTOMATICO = 1\r\n"
            "   GAVETA_INVERTIDA = 1\r\n"
            "   TABULACAO = \"05,10,15,20,25,35\"\r\n"
            "   METODO_DE_COMUNICACAO = \"SERIAL\"\r\n"
            "   TAMANHO_QRCODE = 5\r\n");
}

TEST_F(LibraryTest, LoadWithoutPrinterIsFast) { EXPECT_LT(gLib.loadSeconds, 5.0); }

TEST_F(LibraryTest, EveryExportIsFoundAndNothingElse) {
  for (const char* name : kExports) {
    SCOPED_TRACE(name);
    EXPECT_NE(dlsym(gLib.handle, name), nullptr);
  }
  EXPECT_EQ(dlsym(gLib.handle, "initDLL"), nullptr);
}

TEST_F(LibraryTest, DynamicSymbolTableHoldsExactlyTheFifteen) {
  const std::string command =
      std::string(TQ587_NM) + " -D --defined-only '" + TQ587_LIBRARY_PATH + "'";
  FILE* out = popen(command.c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::set<std::string> names;
  char line[1024];
  while (std::fgets(line, sizeof line, out)) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (fields >> address >> type >> name) names.insert(name);
  }
  ASSERT_EQ(pclose(out), 0);
  EXPECT_EQ(names, std::set<std::string>(std::begin(kExports), std::end(kExports)));
}

TEST_F(LibraryTest, ResultsWithoutPrinter) {
  struct Case {
    const char* name;
    int (*call)();
    int result;
  };
  // A text or a setting that needs the printer cannot be sent; closing with
  // nothing open is done; the placeholders always answer 0.
  const Case kCases[] = {
      {"print text", [] { return symbol<int(const char*, int)>("TQ587_iImprimirTexto")("Total", 0); },
       0},
      {"print marked-up text",
       [] { return symbol<int(const char*, int)>("TQ587_iImprimirTexto")("<b>A</b>", 8); }, 0},
      {"drawer", [] { return symbol<NoArgs>("TQ587_iAcionarGaveta")(); }, 0},
      {"connect", [] { return symbol<NoArgs>("TQ587_eBuscarPortaVelocidade")(); }, 0},
      {"close with no pipe", [] { return symbol<NoArgs>("TQ587_fecharPorta")(); }, 1},
      {"code page stored, not sent", [] { return symbol<Text>("TQ587_regCodePageAutomatico")("1"); },
       0},
      // pictures reach for the printer before they open the file
      {"missing picture", [] { return symbol<Text>("TQ587_iImprimirBMP")("missing.bmp"); }, 0},
      {"missing image", [] { return symbol<Text>("TQ587_iImprimirImagem")("missing.bmp"); }, 0},
      {"null text", [] { return symbol<int(const char*, int)>("TQ587_iImprimirTexto")(nullptr, 0); },
       -99},
      {"null picture", [] { return symbol<Text>("TQ587_iImprimirBMP")(nullptr); }, -8},
      {"guillotine", [] { return symbol<NoArgs>("TQ587_iConfigurarGuilhotina")(); }, 0},
      {"status", [] { return symbol<NoArgs>("TQ587_rConsultaStatusImpressora")(); }, 0},
      {"cut lines", [] { return symbol<NoArgs>("TQ587_regLinhasGuilhotina")(); }, 0},
      {"port", [] { return symbol<NoArgs>("TQ587_regPortaComunicacao")(); }, 0},
      {"speed", [] { return symbol<NoArgs>("TQ587_regVelocidade")(); }, 0},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(c.call(), c.result);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
              5.0);
  }
}

TEST_F(LibraryTest, SettingsReachTheFile) {
  EXPECT_EQ(symbol<Text>("TQ587_regEnterFinal")("0"), 1);
  EXPECT_NE(readFile("CONVERSOR.INI").find("   ENTERAUTOMATICO = 0\r\n"), std::string::npos);
  EXPECT_EQ(symbol<Text>("TQ587_regTabulacao")("1,2,3,4,5,6,7,8,9,10"), -99);
  EXPECT_EQ(symbol<Text>("TQ587_regModoGaveta")("x"), -99);
}

}  // namespace

// LibraryTest.cpp - libTQ587.so loaded as an application loads it: its
// export table, what the placeholders and the exports given no text answer,
// and what the setters answer when CONVERSOR.INI cannot be written. (That
// it connects at load, and the serial line's faults, are serial_link_test's.)
#include <grp.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "e2e/serial_harness.h"

namespace e2e {
namespace {

const std::set<std::string> kPlaceholders = {"TQ587_iConfigurarGuilhotina", "TQ587_rConsultaStatusImpressora",
                                             "TQ587_regLinhasGuilhotina", "TQ587_regPortaComunicacao",
                                             "TQ587_regVelocidade"};
const std::set<std::string> kTakingText = {"TQ587_regCodePageAutomatico", "TQ587_regEnterFinal",
                                           "TQ587_regModoGaveta", "TQ587_regTabulacao"};

TEST(Library, DynamicSymbolTableHoldsExactlyTheFifteen) {
  FILE* out = popen((std::string(TQ587_NM) + " -D --defined-only -j '" + TQ587_LIBRARY_PATH + "'").c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::set<std::string> names;
  for (char name[1024]; std::fscanf(out, "%1023s", name) == 1;) names.insert(name);
  ASSERT_EQ(pclose(out), 0);
  std::set<std::string> expected = {"TQ587_eBuscarPortaVelocidade", "TQ587_fecharPorta", "TQ587_iAcionarGaveta",
                                    "TQ587_iImprimirTexto", "TQ587_iImprimirBMP", "TQ587_iImprimirImagem"};
  expected.insert(kPlaceholders.begin(), kPlaceholders.end());
  expected.insert(kTakingText.begin(), kTakingText.end());
  EXPECT_EQ(names, expected);
}

// With no printer anywhere (every COM port leads nowhere).
TEST(Library, PlaceholdersAnswerZeroAndNoTextIsAnInvalidParameter) {
  Scratch dir;
  const auto calls = [](Library& lib) {
    for (const std::string& name : kPlaceholders) lib.report(lib.call(name.c_str()));
    for (const std::string& name : kTakingText) lib.report(lib.call(name.c_str(), static_cast<const char*>(nullptr)));
    lib.report(lib.call("TQ587_iImprimirTexto", static_cast<const char*>(nullptr), 0));
  };
  EXPECT_EQ(inLibrary(dir, 5, calls), (std::vector<int>{0, 0, 0, 0, 0, -99, -99, -99, -99, -99}));
}

// As root, file modes stop no write: the library runs as nobody, loaded from
// a copy in the scratch directory, since the build folder may be closed to
// other users.
constexpr uid_t kNobody = 65534;

bool canDropPrivileges() {
  if (geteuid() != 0) return true;
  const pid_t pid = fork();
  if (pid == 0) _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 ? 0 : 1);
  return reap(pid, 5) == 0;
}

TEST(Faults, ConfigurationCannotBeWritten) {
  if (!canDropPrivileges()) GTEST_SKIP() << "cannot run as an unprivileged user";
  struct Case {
    const char* name;
    mode_t iniMode, folderMode;
    int result;  // of TQ587_regEnterFinal("1")
    const char *logged, *iniHas;
  };
  const Case kCases[] = {
      {"CONVERSOR.INI read-only", 0444, 0777, -1, "Falha em gravar arquivo Conversor.ini", "ENTERAUTOMATICO = 0"},
      // No new file can be made beside it: the file is written in place.
      {"CONVERSOR.INI in a read-only folder", 0666, 0555, 1, "Sucesso em gravar arquivo.",
       "   ENTERAUTOMATICO = 1\r\n"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Scratch dir;
    writeFile(dir.file("CONVERSOR.INI"), "[TQ587]\r\nENTERAUTOMATICO = 0\r\n[SISTEMA]\r\nLOGDIARIO = S\r\n");
    const std::string library = dir.file("libTQ587.so");
    std::filesystem::copy_file(TQ587_LIBRARY_PATH, library);
    chmod(library.c_str(), 0755);
    chmod(dir.file("CONVERSOR.INI").c_str(), c.iniMode);
    chmod(dir.path.c_str(), c.folderMode);
    const auto asNobody = [] {
      if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(6);
    };
    const auto enter = [](Library& lib) { lib.report(lib.call("TQ587_regEnterFinal", "1")); };
    EXPECT_EQ(inLibrary(dir, 5, enter, asNobody, library), std::vector<int>{c.result});
    EXPECT_NE(dir.read("library.log").find(c.logged), std::string::npos) << dir.read("library.log");
    EXPECT_NE(dir.read("CONVERSOR.INI").find(c.iniHas), std::string::npos) << dir.read("CONVERSOR.INI");
  }
}

}  // namespace
}  // namespace e2e

/* threads.c - an application that calls the driver from several threads at
 * once, as point-of-sale programs do: three threads print receipts while a
 * fourth changes the four settings, kicks the drawer, closes the port and
 * connects again, and a fifth, which never calls the library, reads
 * CONVERSOR.INI all the while. Built for Linux and Windows, as scenario.c.
 *
 *   tq587-threads run LIBRARY SECONDS
 *       The session, for about SECONDS, in the current directory, where
 *       CONVERSOR.INI is in the library's own layout with CODEPAGE_AUTOMATICO
 *       = 1, on a printer that answers. Every call must answer 1 and every
 *       read of CONVERSOR.INI must find it whole: the file as it began but
 *       for the ENTERAUTOMATICO and GAVETA_INVERTIDA values, 0 or 1. The
 *       tallies go to results.txt; the exit status is 0 when all was well.
 *   tq587-threads check RECEIVED RESULTS
 *       Whether the bytes the printer received are the session of RESULTS,
 *       each call's bytes in one piece: every receipt whole, in its
 *       thread's order, none missing, and between them only what the other
 *       calls send.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "loading.h"
#include "tq587.h"

#include <time.h>
#ifndef _WIN32
#include <pthread.h>
#include <unistd.h>
#endif

enum { kPrinters = 3, kThreads = kPrinters + 2, kMaxText = 1024, kMaxIni = 1024 };

/* What the calls send, in the printer's language. */
static const unsigned char kCodePage[] = {0x1B, 0x74, 0x10, 0x0A};             /* ESC t 16, LF */
static const unsigned char kConnect[] = {0x10, 0x04, 0x01, 0x1B, 0x40};        /* DLE EOT 1, ESC @ */
static const unsigned char kDrawer[] = {0x1B, 0x70, 0x00, 0x96, 0xFF};         /* ESC p 0 150 255 */
static const unsigned char kTabs[22] = {0x1B, 0x44, 5, 10, 15, 20, 25, 35, 0}; /* ESC D ... NUL */

/* Receipt n of printer p, with the bold title as mark-up, or as the printer
 * receives it after the code page (ESC E 1, the title, ESC E 0). */
static size_t receipt(int p, int n, int markup, char* out) {
  char* at = out + sprintf(out, markup ? "<b>CUPOM T%d N%05d</b>\n" : "\x1B\x45\x01" "CUPOM T%d N%05d\x1B\x45", p, n);
  int item;
  if (!markup) *at++ = 0x00, *at++ = '\n';
  for (item = 1; item <= 8; ++item) at += sprintf(at, "T%d N%05d item %02d ......... 12,34\n", p, n, item);
  return (size_t)(at - out);
}

typedef struct { void (*run)(int); int which; } Job;
#ifdef _WIN32
typedef HANDLE Thread;
static DWORD WINAPI trampoline(LPVOID job) { return ((Job*)job)->run(((Job*)job)->which), 0; }
static void startThread(Thread* thread, Job* job) { *thread = CreateThread(NULL, 0, trampoline, job, 0, NULL); }
static void joinThread(Thread thread) { WaitForSingleObject(thread, INFINITE), CloseHandle(thread); }
static void restAMoment(void) { Sleep(1); }
#else
typedef pthread_t Thread;
static void* trampoline(void* job) { return ((Job*)job)->run(((Job*)job)->which), NULL; }
static void startThread(Thread* thread, Job* job) { pthread_create(thread, NULL, trampoline, job); }
static void joinThread(Thread thread) { pthread_join(thread, NULL); }
static void restAMoment(void) { usleep(1000); }
#endif

/* The file's bytes; (size_t)-1 when it cannot be opened, as on Windows for
 * the moment the library's rename still holds the new file. */
static size_t readWhole(const char* path, char* bytes, size_t size) {
  FILE* file = fopen(path, "rb");
  size_t got = file ? fread(bytes, 1, size, file) : (size_t)-1;
  if (file) fclose(file);
  return got;
}

typedef int(TQ587_CALL* NoArguments)(void);
typedef int(TQ587_CALL* OneText)(const char*);

static void* library;
static time_t deadline;
/* Each thread counts in its own place; main reads them after the joins. */
static int done[kThreads], notDone[kThreads];
static char initialIni[kMaxIni];
static size_t initialLength, enterAt, drawerAt;

static int call0(const char* name) { return ((NoArguments)findFunction(library, name))(); }
static int call1(const char* name, const char* text) { return ((OneText)findFunction(library, name))(text); }
static void tally(int which, int good) { ++*(good ? &done[which] : &notDone[which]); }

/* With a pause after each receipt, so that no thread keeps the library to
 * itself (a lock hands itself to no one in particular). */
static void printReceipts(int p) {
  int(TQ587_CALL * print)(const char*, int) =
      (int(TQ587_CALL*)(const char*, int))findFunction(library, "TQ587_iImprimirTexto");
  char text[kMaxText];
  for (; time(NULL) < deadline; restAMoment()) {
    receipt(p + 1, done[p] + notDone[p] + 1, 1, text);
    tally(p, print(text, 0) == 1);
  }
}

static void changeSettings(int which) {
  int round;
  for (round = 0; time(NULL) < deadline; ++round) {
    const char* flip = round % 2 ? "0" : "1";
    tally(which, call1("TQ587_regCodePageAutomatico", "1") == 1);
    tally(which, call1("TQ587_regEnterFinal", flip) == 1);
    tally(which, call1("TQ587_regModoGaveta", flip) == 1);
    tally(which, call1("TQ587_regTabulacao", "05,10,15,20,25,35") == 1);
    tally(which, call0("TQ587_iAcionarGaveta") == 1);
    tally(which, call0("TQ587_fecharPorta") == 1);
    tally(which, call0("TQ587_eBuscarPortaVelocidade") == 1);
  }
}

/* Whole: the file as it began, but for the two values the settings flip. */
static void readIni(int which) {
  char ini[kMaxIni];
  for (; time(NULL) < deadline; restAMoment()) {
    size_t i, length = readWhole("CONVERSOR.INI", ini, sizeof ini);
    int whole = length == initialLength;
    for (i = 0; whole && i < length; ++i) {
      whole = (i == enterAt || i == drawerAt) ? ini[i] == '0' || ini[i] == '1' : ini[i] == initialIni[i];
    }
    if (length != (size_t)-1) tally(which, whole);
  }
}

static size_t valueAt(const char* key) {
  const char* at = strstr(initialIni, key);
  return at ? (size_t)(at - initialIni) + strlen(key) : 0;
}

static int run(const char* path, int seconds) {
  static const char* const kWhat[kThreads] = {"printer 1", "printer 2", "printer 3", "settings", "CONVERSOR.INI"};
  Thread threads[kThreads];
  Job jobs[kThreads];
  int i, failures = 0;
  FILE* results = fopen("results.txt", "wb");
  initialLength = readWhole("CONVERSOR.INI", initialIni, sizeof initialIni - 1);
  enterAt = valueAt("ENTERAUTOMATICO = ");
  drawerAt = valueAt("GAVETA_INVERTIDA = ");
  library = openLibrary(path);
  if (!results || !library || !enterAt || !drawerAt) return fprintf(stderr, "cannot start\n"), 2;
  deadline = time(NULL) + seconds;
  for (i = 0; i < kThreads; ++i) {
    jobs[i].which = i;
    jobs[i].run = i < kPrinters ? printReceipts : i == kPrinters ? changeSettings : readIni;
    startThread(&threads[i], &jobs[i]);
  }
  for (i = 0; i < kThreads; ++i) joinThread(threads[i]);
  for (i = 0; i < kThreads; ++i) {
    fprintf(results, "%s: %d done, %d not done\n", kWhat[i], done[i], notDone[i]);
    failures += notDone[i] + (done[i] == 0);
  }
  fclose(results);
  return failures == 0 ? 0 : 1;
}

static int check(const char* receivedPath, const char* resultsPath) {
  static const unsigned char* const kCalls[] = {kCodePage, kConnect, kDrawer, kTabs};
  static const size_t kSizes[] = {sizeof kCodePage, sizeof kConnect, sizeof kDrawer, sizeof kTabs};
  static unsigned char received[(64 << 20) + 2];
  char bytes[kMaxText], line[200];
  int printed[kPrinters] = {0}, last[kPrinters] = {0}, p, n, pieces = 0;
  size_t length = 0, at, size, k;
  FILE* file = fopen(resultsPath, "rb");
  while (file && fgets(line, sizeof line, file))
    if (sscanf(line, "printer %d: %d done", &p, &n) == 2 && p >= 1 && p <= kPrinters) printed[p - 1] = n;
  if (file) fclose(file);
  if ((file = fopen(receivedPath, "rb")) != NULL) length = fread(received, 1, 64 << 20, file), fclose(file);
  for (at = 0; at < length; at += size, ++pieces) {
    const unsigned char* here = received + at;
    char title[32] = {0};
    memcpy(title, here, length - at < sizeof title - 1 ? length - at : sizeof title - 1);
    /* a receipt: the code page, then its bytes whole, then maybe the final line feed */
    if (length - at > 4 && memcmp(here, kCodePage, 4) == 0 &&
        sscanf(title + 4, "\x1B\x45\x01" "CUPOM T%d N%5d", &p, &n) == 2 && p >= 1 && p <= kPrinters) {
      size = 4 + receipt(p, n, 0, bytes);
      if (n != last[p - 1] + 1 || size > length - at || memcmp(here + 4, bytes, size - 4) != 0) {
        return printf("receipt T%d N%05d at byte %lu: not whole, or not the one after N%05d\n", p, n,
                      (unsigned long)at, last[p - 1]), 1;
      }
      last[p - 1] = n;
      size += at + size < length && here[size] == '\n';
      continue;
    }
    for (k = 0, size = 0; k < 4 && size == 0; ++k) {
      if (kSizes[k] <= length - at && memcmp(here, kCalls[k], kSizes[k]) == 0) size = kSizes[k];
    }
    if (size == 0)
      return printf("byte %lu is no call's: %02X %02X %02X\n", (unsigned long)at, here[0], here[1], here[2]), 1;
  }
  for (p = 0; p < kPrinters; ++p)
    if (last[p] != printed[p] || printed[p] == 0)
      return printf("printer %d: %d receipts received of %d printed\n", p + 1, last[p], printed[p]), 1;
  printf("%d + %d + %d receipts whole among %d calls' bytes\n", last[0], last[1], last[2], pieces);
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "run") == 0) return run(argv[2], atoi(argv[3]));
  if (argc == 4 && strcmp(argv[1], "check") == 0) return check(argv[2], argv[3]);
  fprintf(stderr, "usage: tq587-threads run LIBRARY SECONDS | check RECEIVED RESULTS\n");
  return 2;
}

// Library.h - the start-up of the library in a process.
#pragma once

// Reads CONVERSOR.INI (writing the defaults when it cannot be read), logs the
// banner and tries once to connect to the printer. Run by the platform's
// load-time entry; never fails.
void initDLL();

// Setters.h - the four settings the application can change: each validates
// its text, reads CONVERSOR.INI afresh, changes one field and rewrites the
// file; the code page and the tab positions also go to the printer at once.
//
// Results (TQ587_Result): done; not done when the printer could not be
// reached or did not take the command (or, for the final enter, there is no
// configuration at all); update error when the file could not be written;
// invalid parameter (a null text included).
#pragma once

// CODEPAGE_AUTOMATICO from the first character, '0' or '1'; sends ESC t.
int regCodePageAutomatico(const char* value);
// ENTERAUTOMATICO from a text that is exactly "0" or "1".
int regEnterFinal(const char* value);
// GAVETA_INVERTIDA from the first character, '0' or '1'.
int regModoGaveta(const char* value);
// TABULACAO: at most 19 characters, leading number above 0, numbers of at
// most four digits separated by commas or spaces; sends ESC D.
int regTabulacao(const char* value);

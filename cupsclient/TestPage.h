// The one-page test document that is printed when no document is given: structured PostScript
// (header, prolog, one page, trailer) that draws a frame and a few lines of text in Helvetica
// inside the smallest common page (A4 and US Letter alike).
#ifndef HALYX_CUPSCLIENT_TESTPAGE_H
#define HALYX_CUPSCLIENT_TESTPAGE_H

#include <string>

// The page, titled `title` (any bytes: they are escaped into PostScript strings) and naming
// `queue` in its text.
std::string MakeTestPage(const std::string& title, const std::string& queue);

// Writes the page into a new temporary file and stores its path in `path` (the caller removes
// the file); false when the file cannot be made.
bool WriteTestPage(const std::string& title, const std::string& queue, std::string* path);

// `text` as a PostScript string literal, parentheses included: (, ) and \ escaped, bytes outside
// printable ASCII written as octal escapes.
std::string PostScriptString(const std::string& text);

#endif  // HALYX_CUPSCLIENT_TESTPAGE_H

#include "cupsclient/TestPage.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

std::string PostScriptString(const std::string& text) {
    std::string out = "(";
    for (unsigned char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c > 0x7e) {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + ")";
}

std::string MakeTestPage(const std::string& title, const std::string& queue) {
    // The title goes into a comment too: there it must stay one line of printable text.
    std::string commentTitle;
    for (unsigned char c : title)
        commentTitle += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    std::string page;
    page += "%!PS-Adobe-3.0\n";
    page += "%%Title: " + commentTitle + "\n";
    page += "%%Creator: halyx-jobnotes\n";
    page += "%%Pages: 1\n";
    page += "%%BoundingBox: 36 36 576 756\n";
    page += "%%EndComments\n";
    page += "%%BeginProlog\n";
    page += "/Line { exch 72 exch moveto show } bind def\n";
    page += "%%EndProlog\n";
    page += "%%Page: 1 1\n";
    page += "gsave 2 setlinewidth 36 36 540 720 rectstroke grestore\n";
    page += "/Helvetica-Bold findfont 24 scalefont setfont\n";
    page += "(Halyx Job Notes test page) 700 Line\n";
    page += "/Helvetica findfont 12 scalefont setfont\n";
    page += PostScriptString("Title: " + title) + " 660 Line\n";
    page += PostScriptString("Queue: " + queue) + " 640 Line\n";
    page +=
        "(The job notes typed for this job travel in its structuring comments and setup.) "
        "610 Line\n";
    page += "showpage\n";
    page += "%%Trailer\n";
    page += "%%EOF\n";
    return page;
}

bool WriteTestPage(const std::string& title, const std::string& queue, std::string* path) {
    path->clear();
    const char* folder = getenv("TMPDIR");
    std::string name = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                       "/halyx-test-page.XXXXXX";
    int fd = mkstemp(&name[0]);
    if (fd < 0) return false;
    std::string page = MakeTestPage(title, queue);
    size_t done = 0;
    while (done < page.size()) {
        ssize_t n = write(fd, page.data() + done, page.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    bool ok = close(fd) == 0 && done == page.size();
    if (!ok) {
        unlink(name.c_str());
        return false;
    }
    *path = name;
    return true;
}

#include "filter/DscStreamPlacer.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// The universal exit language escape that opens job-control lines.
const char kJobControlEscape[] = "\x1b%-12345X";
constexpr size_t kJobControlEscapeLength = sizeof kJobControlEscape - 1;

bool IsTrailing(char c) {
    return c == '\r' || c == '\n' || c == ' ' || c == '\t' || c == '\x04';
}

// The line without its ending, blanks and Ctrl-D at its end.
std::string Trimmed(const char* bytes, size_t length) {
    while (length > 0 && IsTrailing(bytes[length - 1])) --length;
    return std::string(bytes, length);
}

// True when `text` is the comment `keyword`, alone or followed by ':' or a blank.
bool IsComment(const std::string& text, const char* keyword) {
    size_t n = std::strlen(keyword);
    if (text.compare(0, n, keyword) != 0) return false;
    return text.size() == n || text[n] == ':' || text[n] == ' ' || text[n] == '\t';
}

bool IsPageOrEnd(const std::string& text) {
    return IsComment(text, "%%Page") || IsComment(text, "%%Trailer") || IsComment(text, "%%EOF");
}

// Lines that end a header that has no %%EndComments.
bool IsSectionStart(const std::string& text) {
    return IsComment(text, "%%BeginProlog") || IsComment(text, "%%BeginSetup") ||
           IsComment(text, "%%BeginDocument") || IsPageOrEnd(text);
}

// The arguments of a comment: the words after its keyword and colon.
std::vector<std::string> Arguments(const std::string& text) {
    std::vector<std::string> words;
    size_t at = text.find(':');
    if (at == std::string::npos) return words;
    while (true) {
        at = text.find_first_not_of(" \t", at + 1);
        if (at == std::string::npos) break;
        size_t end = text.find_first_of(" \t", at);
        words.push_back(text.substr(at, end == std::string::npos ? end : end - at));
        if (end == std::string::npos) break;
        at = end;
    }
    return words;
}

// A section's count; false for anything but decimal digits. Huge counts saturate.
bool ParseCount(const std::string& word, uint64_t* count) {
    if (word.empty()) return false;
    uint64_t value = 0;
    for (char c : word) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        uint64_t digit = static_cast<uint64_t>(c - '0');
        value = value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : value * 10 + digit;
    }
    *count = value;
    return true;
}

}  // namespace

void DscStreamPlacer::Finish() {
    mSplitter.Finish();
    EndDocument();
}

void DscStreamPlacer::Line(const char* bytes, size_t length) {
    std::string text = Trimmed(bytes, length);
    size_t control = 0;
    while (control < text.size() && text[control] == '\x04') ++control;
    if (text.compare(control, kJobControlEscapeLength, kJobControlEscape) == 0)
        control += kJobControlEscapeLength;
    if (control > 0) {
        EndDocument();
        text.erase(0, control);
    }
    if (mState != State::kOutside) {
        InDocument(text, bytes, length);
        return;
    }
    if (text.compare(0, 2, "%!") == 0) {
        mState = State::kHeader;
        mCommentsPlaced = false;
        mDepth = 0;
        ++mDocuments;
    }
    Pass(bytes, length);
}

void DscStreamPlacer::InDocument(const std::string& text, const char* bytes, size_t length) {
    WatchSections(text);
    if (mDepth > 0) {
        if (IsComment(text, "%%BeginDocument"))
            ++mDepth;
        else if (IsComment(text, "%%EndDocument"))
            --mDepth;
        Pass(bytes, length);
        return;
    }
    if (mState == State::kHeader) HeaderLine(text);
    if (mState == State::kBeforeSetup || mState == State::kInSetup) SetupLine(text);
    if (IsComment(text, "%%BeginDocument")) ++mDepth;
    Pass(bytes, length);
    if (IsComment(text, "%%EOF")) EndDocument();
}

void DscStreamPlacer::HeaderLine(const std::string& text) {
    if (IsComment(text, "%%EndComments")) {
        PlaceComments(false);
        mState = State::kBeforeSetup;
    } else if (!text.empty() && text[0] != '%') {
        PlaceComments(true);
        PlaceFeatures(true, true);
        mState = State::kPlaced;
    } else if (IsSectionStart(text)) {
        PlaceComments(true);
        mState = State::kBeforeSetup;
    }
}

void DscStreamPlacer::SetupLine(const std::string& text) {
    if (mState == State::kBeforeSetup) {
        if (IsComment(text, "%%BeginSetup")) {
            mState = State::kInSetup;
        } else if (IsPageOrEnd(text)) {
            PlaceFeatures(true, true);
            mState = State::kPlaced;
        }
    } else if (IsComment(text, "%%EndSetup")) {
        PlaceFeatures(false, false);
        mState = State::kPlaced;
    } else if (IsPageOrEnd(text)) {
        PlaceFeatures(false, true);
        mState = State::kPlaced;
    }
}

void DscStreamPlacer::WatchSections(const std::string& text) {
    bool binary = IsComment(text, "%%BeginBinary");
    if (!binary && !IsComment(text, "%%BeginData")) return;
    std::vector<std::string> words = Arguments(text);
    uint64_t count = 0;
    if (words.empty() || !ParseCount(words[0], &count)) return;
    if (!binary && words.size() >= 3 && words[2] == "Lines")
        mSplitter.SkipLines(count);
    else
        mSplitter.SkipBytes(count);
}

void DscStreamPlacer::EndDocument() {
    if (mState == State::kOutside) return;
    if (!mCommentsPlaced) PlaceComments(false);
    if (mState == State::kInSetup)
        PlaceFeatures(false, true);
    else if (mState != State::kPlaced)
        PlaceFeatures(true, true);
    mState = State::kOutside;
    mDepth = 0;
}

void DscStreamPlacer::Pass(const char* bytes, size_t length) {
    if (length == 0) return;
    mOut.Write(bytes, length);
    mLineOpen = bytes[length - 1] != '\n' && bytes[length - 1] != '\r';
}

void DscStreamPlacer::BreakLine() {
    if (mLineOpen) mOut.WriteText("\n");
    mLineOpen = false;
}

void DscStreamPlacer::PlaceComments(bool addEnd) {
    mCommentsPlaced = true;
    if (mPieces.comments.empty()) return;
    BreakLine();
    for (const std::string& comment : mPieces.comments) mOut.Write(comment);
    if (addEnd) mOut.WriteText("%%EndComments\n");
}

void DscStreamPlacer::PlaceFeatures(bool openSection, bool closeSection) {
    if (mPieces.features.empty()) return;
    BreakLine();
    if (openSection) mOut.WriteText("%%BeginSetup\n");
    for (const std::string& feature : mPieces.features) mOut.Write(feature);
    if (closeSection) mOut.WriteText("%%EndSetup\n");
}

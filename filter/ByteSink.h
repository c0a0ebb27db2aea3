// Where a filter's output goes: standard output in the filter, a string in tests.
#ifndef HALYX_FILTER_BYTESINK_H
#define HALYX_FILTER_BYTESINK_H

#include <cstddef>
#include <cstring>
#include <string>

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Takes the bytes; a sink that cannot write keeps the failure for its owner to ask about.
    virtual void Write(const char* bytes, size_t length) = 0;
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    void WriteText(const char* text) { Write(text, std::strlen(text)); }
};

class StringSink : public ByteSink {
public:
    using ByteSink::Write;
    void Write(const char* bytes, size_t length) override { text.append(bytes, length); }
    std::string text;
};

#endif  // HALYX_FILTER_BYTESINK_H

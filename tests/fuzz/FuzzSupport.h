#pragma once

// Shared by the fuzz targets and their replay driver: the failure report and a reader that turns
// the raw input into the choices a target makes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QString>

// What every target defines: libFuzzer, or the replay driver, calls it with each input.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The replay driver names the input it is running, so that a failing ctest says which file.
inline const char*& FuzzInputName()
{
    static const char* name = nullptr;
    return name;
}

// An invariant failure must look like a crash to libFuzzer (so it keeps the input) and fail the
// replay test; abort() does both.
[[noreturn]] inline void FuzzFail(const std::string& what)
{
    std::fprintf(stderr, "fuzz invariant failed%s%s: %s\n", FuzzInputName() ? " on " : "",
                 FuzzInputName() ? FuzzInputName() : "", what.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void FuzzCheck(bool ok, const std::string& what)
{
    if (!ok)
        FuzzFail(what);
}

// Printable form of a text for failure reports: everything outside printable ASCII as \uXXXX.
inline std::string Quoted(const QString& s)
{
    std::string out = "\"";
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 32 && u < 127 && u != '\\' && u != '"') {
            out += char(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(u));
            out += buf;
        }
    }
    return out + "\"";
}

// Takes the input from the front; once it runs dry every read gives zeros, so any input is valid.
class FuzzBytes {
public:
    FuzzBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Empty() const { return pos_ >= size_; }
    size_t Remaining() const { return size_ - pos_; }

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <typename T> T Raw()
    {
        unsigned char buf[sizeof(T)] = {};
        const size_t n = sizeof(T) < Remaining() ? sizeof(T) : Remaining();
        if (n)
            std::memcpy(buf, data_ + pos_, n);
        pos_ += n;
        T v;
        std::memcpy(&v, buf, sizeof v);
        return v;
    }

    // Text from the rest of the input. Bytes below
    // 0x80 are the ASCII character itself (controls and NUL included), so the corpus stays
    // readable; 0x80 .. 0xFF take the next byte as well and form one UTF-16 code unit, so any
    // character (lone surrogates included) can appear.
    QString Text()
    {
        QString s;
        while (pos_ < size_) {
            const uint8_t b = data_[pos_++];
            if (b < 0x80) {
                s += QChar(char16_t(b));
            } else {
                const uint8_t low = Byte();
                s += QChar(char16_t(((b & 0x7F) << 8) | low));
            }
        }
        return s;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

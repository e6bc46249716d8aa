// Reads the text headers of PNM and PGX files (and plain PNM samples) a character at a time,
// with one character of look-ahead, so that binary data starts exactly where the text ends.
#pragma once
#include <cstdint>

#include "image/stream.h"

namespace ruvelto::image {

class TextHeaderScanner {
public:
    explicit TextHeaderScanner(Stream& stream) : stream_(stream) {}

    int Get() {
        if (pending_ != kNone) {
            const int c = pending_;
            pending_ = kNone;
            return c;
        }
        return stream_.GetC();
    }
    int Peek() {
        if (pending_ == kNone) pending_ = stream_.GetC();
        return pending_;
    }
    static bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

    // Skips white space, and with comments set also '#' up to the end of its line; a carriage
    // return ends a comment only where crEndsComment says so (PAM headers are read by lines).
    void SkipSpace(bool comments, bool crEndsComment = true) {
        for (;;) {
            const int c = Peek();
            if (IsSpace(c)) {
                Get();
            } else if (comments && c == '#') {
                while (Peek() != '\n' && !(crEndsComment && Peek() == '\r') && Peek() != -1) Get();
            } else {
                return;
            }
        }
    }
    // A decimal number of at most limit, starting at the next character.
    bool Number(uint64_t limit, uint32_t* out) {
        if (Peek() < '0' || Peek() > '9') return false;
        uint64_t v = 0;
        while (Peek() >= '0' && Peek() <= '9') {
            v = v * 10 + uint64_t(Get() - '0');
            if (v > limit) return false;
        }
        *out = uint32_t(v);
        return true;
    }

private:
    static constexpr int kNone = -2;
    Stream& stream_;
    int pending_ = kNone;
};

}  // namespace ruvelto::image

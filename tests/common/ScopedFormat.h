#pragma once

#include "FormatSettings.h"

// Installs a number format for the lifetime of a test and puts the previous one back.
class ScopedFormat {
public:
    explicit ScopedFormat(const TFormatSettings& settings) : saved_(FormatSettings()) { SetFormatSettings(settings); }
    ScopedFormat(QChar decimal, QChar thousand) : saved_(FormatSettings())
    {
        TFormatSettings s = saved_;
        s.DecimalSeparator = decimal;
        s.ThousandSeparator = thousand;
        s.MonetaryThousandSeparator = thousand;
        SetFormatSettings(s);
    }
    ~ScopedFormat() { SetFormatSettings(saved_); }
    ScopedFormat(const ScopedFormat&) = delete;
    ScopedFormat& operator=(const ScopedFormat&) = delete;

private:
    TFormatSettings saved_;
};

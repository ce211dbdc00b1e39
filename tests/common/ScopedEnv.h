#pragma once

#include <QByteArray>
#include <QtGlobal>

// An environment variable set or cleared for one scope; its old state comes back at the end.
class TScopedEnv {
public:
    explicit TScopedEnv(const char* name) : name_(name), had_(qEnvironmentVariableIsSet(name)), value_(qgetenv(name)) {}
    TScopedEnv(const char* name, const QByteArray& value) : TScopedEnv(name) { qputenv(name, value); }
    ~TScopedEnv()
    {
        if (had_)
            qputenv(name_, value_);
        else
            qunsetenv(name_);
    }
    TScopedEnv(const TScopedEnv&) = delete;
    TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray value_;
};

#pragma once

#include <csignal>
#include <sys/resource.h>

// A disk that fills up part way: while the object lives, no file of the process
// may grow beyond `maxBytes`, and a write past that fails (the signal it would
// raise is ignored). The limit and the signal's handler are put back when it goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t maxBytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // Whether the limit could be read and set.
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    bool m_set = false;
    void (*m_oldHandler)(int) = SIG_DFL;
};

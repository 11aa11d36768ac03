#include "filesizelimit.h"

FileSizeLimit::FileSizeLimit(rlim_t maxBytes)
{
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (getrlimit(RLIMIT_FSIZE, &m_old) != 0)
        return;
    rlimit small = m_old;
    small.rlim_cur = maxBytes;
    m_set = setrlimit(RLIMIT_FSIZE, &small) == 0;
}

FileSizeLimit::~FileSizeLimit()
{
    if (m_set)
        setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

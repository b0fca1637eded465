#pragma once

#include <QtGlobal>

#include <cerrno>
#include <cstdio>

// While it lives, what the C library's standard error stream is given goes nowhere: the
// spreadsheet library prints its own "[ERROR]" lines there, beside the one line with the
// reason that the program gives itself. The descriptor itself is left alone, so that what is
// written to it directly still reaches the user.
class SilencedStandardError
{
public:
#ifdef __GLIBC__
    SilencedStandardError()
        : m_saved(stderr)
        , m_nowhere(fopencookie(nullptr, "w", cookie_io_functions_t{}))
    {
        if (m_nowhere)
            stderr = m_nowhere;
    }

    ~SilencedStandardError()
    {
        if (!m_nowhere)
            return;
        const int error = errno;
        stderr = m_saved;
        std::fclose(m_nowhere);
        errno = error;
    }

private:
    FILE *m_saved;
    FILE *m_nowhere;
#else
    SilencedStandardError() = default;
#endif
    Q_DISABLE_COPY_MOVE(SilencedStandardError)
};

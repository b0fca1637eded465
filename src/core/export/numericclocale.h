#pragma once

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <clocale>
#endif

// While it lives, the C library formats numbers as C does on this thread, whatever the
// user's locale: the spreadsheet library writes a workbook's numbers with it, and a decimal
// comma there ("14,28") makes a workbook that spreadsheets refuse.
class NumericCLocale
{
public:
#ifdef Q_OS_WIN
    NumericCLocale() = default;
#else
    NumericCLocale()
        : m_c(newlocale(LC_NUMERIC_MASK, "C", duplocale(LC_GLOBAL_LOCALE)))
        , m_previous(m_c ? uselocale(m_c) : nullptr)
    {
    }

    ~NumericCLocale()
    {
        if (!m_c)
            return;
        uselocale(m_previous);
        freelocale(m_c);
    }

private:
    locale_t m_c;
    locale_t m_previous;
#endif
    Q_DISABLE_COPY_MOVE(NumericCLocale)
};

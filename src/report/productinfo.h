#pragma once

#include <QString>

// The texts that name the product and its makers, wherever the program shows them.
namespace ProductInfo {
inline QString applicationTitle()
{
    return QStringLiteral("Cost Estimate");
}
inline QString webAddress()
{
    return QStringLiteral("www.varn.example");
}
inline QString contactEmail()
{
    return QStringLiteral("info@varn.example");
}
inline QString authorLine()
{
    return QStringLiteral("Written by the VARN team, VARN Software");
}
inline QString bugReportEmail()
{
    return QStringLiteral("bugs@varn.example");
}
inline QString providerLine()
{
    return QStringLiteral("Cost Estimate software by VARN Software");
}
}

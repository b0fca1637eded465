#pragma once

// A table-driven test's columns, each named once where the table is laid out and once where a
// row is read: the addColumn and the QFETCH of every column, in one line each.

#include <QTest>

#include <tuple>

namespace Rows {
// The columns, of the types given, in their order.
template <typename... Types, typename... Names> void columns(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "a name for each column");
    (QTest::addColumn<Types>(names), ...);
}

// The current row's values of the columns named, as QFETCH reads each.
template <typename... Types, typename... Names> std::tuple<Types...> fetch(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "a name for each column");
    return {*static_cast<Types *>(QTest::qData(names, qMetaTypeId<Types>()))...};
}
}

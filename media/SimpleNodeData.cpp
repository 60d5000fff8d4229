#include "media/SimpleNodeData.h"

#include <algorithm>

SimpleNodeData::SimpleNodeData(const QString& name, bool isLeaf)
    : mName(name)
    , mIsLeaf(isLeaf)
    , mIsExpandable(!isLeaf)
{
}

std::unique_ptr<SimpleNodeData> SimpleNodeData::leafDataWithName(const QString& name)
{
    return std::make_unique<SimpleNodeData>(name, true);
}

std::unique_ptr<SimpleNodeData> SimpleNodeData::groupDataWithName(const QString& name)
{
    return std::make_unique<SimpleNodeData>(name, false);
}

std::strong_ordering SimpleNodeData::compare(const TreeNodeData& other) const
{
    const auto* simple = dynamic_cast<const SimpleNodeData*>(&other);
    if (!simple)
        return TreeNodeData::compare(other);
    return compareNames(mName, simple->mName);
}

namespace {

// UTF-16 code units order surrogates (characters past U+FFFF) before
// U+E000..U+FFFF; shifting the two ranges gives code-point order.
char16_t inCodePointOrder(char16_t unit)
{
    if (unit >= 0xD800 && unit <= 0xDFFF)
        return char16_t(unit + 0x2000);
    if (unit >= 0xE000)
        return char16_t(unit - 0x800);
    return unit;
}

} // namespace

std::strong_ordering SimpleNodeData::compareNames(QStringView a, QStringView b)
{
    const auto [differA, differB] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (differA == a.end() || differB == b.end())
        return a.size() <=> b.size();
    return inCodePointOrder(differA->unicode()) <=> inCodePointOrder(differB->unicode());
}

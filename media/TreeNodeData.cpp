#include "media/TreeNodeData.h"

TreeNodeData::~TreeNodeData() = default;

std::strong_ordering TreeNodeData::compare(const TreeNodeData&) const
{
    return std::strong_ordering::less;
}

QString TreeNodeData::description() const
{
    return {};
}

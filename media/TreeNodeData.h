#pragma once

#include <QString>

#include <compare>

// The payload of a tree node. Concrete payloads say how two nodes order and
// how a node describes itself.
class TreeNodeData {
public:
    virtual ~TreeNodeData();

    // A payload that knows no order puts itself first against anything.
    virtual std::strong_ordering compare(const TreeNodeData& other) const;
    virtual QString description() const;
};

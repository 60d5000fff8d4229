#pragma once

#include <QString>

class DiscDescription;

// What the disc description needs of the project's menus: how many there
// are, and their selection elements, written with the description's
// identifiers of movies and playlists.
class DiscMenus
{
public:
    virtual ~DiscMenus() = default;

    virtual int count() const = 0;
    // Appends one selection element per menu; called while the description
    // is being made, after its media and playlist identifiers are known.
    virtual void makeXMLSelections(QString &text, const DiscDescription &description) const = 0;
};

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
    // False, with the reason in `error`, when a menu cannot be on the disc:
    // the description is then not written.
    virtual bool makeXMLSelections(QString &text, const DiscDescription &description, QString *error) const = 0;
};

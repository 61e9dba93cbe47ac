// The small pictures beside the HotSync action choices: a handheld on the
// left, a desktop computer on the right and what travels between them.
#pragma once

#include <QColor>
#include <QImage>

namespace wexal::conduit {

// Numbered as the pictures have always been numbered, one per action choice.
enum class ActionPicture {
    BothWays = 103,    // synchronize
    ToHandheld = 104,  // desktop overwrites handheld
    ToDesktop = 105,   // handheld overwrites desktop
    Pause = 106,       // do nothing
};

inline constexpr int kActionPictureWidth = 48;
inline constexpr int kActionPictureHeight = 24;

// Draws one picture on the given ground colour (the button face of the
// dialog that shows it), so that it blends in with any colour scheme.
QImage DrawActionPicture(ActionPicture picture, const QColor& ground);

}  // namespace wexal::conduit

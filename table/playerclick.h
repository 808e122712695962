#pragma once

class QWidget;

namespace accessibility
{

// Clicks a control as the player's mouse would: the click joins the window system's queue of
// input at a spot where the control is on top, so whatever holds back or blocks a real click (a
// hidden control, a turn still settling, a message box) holds back or blocks this one too.
void clickAsThePlayer(QWidget& control);

} // namespace accessibility

// The background pictures of the About and Credits windows, drawn for the screen they stand on.
#pragma once

class QLabel;
class QString;
class QWidget;

namespace voltara::ui {

// Shows the picture resource (":/voltara/about.jpg") on label in the drawing that suits the
// device pixel ratio of the label's screen: the one of twice the size ("about@2x.jpg") above a
// ratio of 1, else the resource itself. Once the label's window has been shown it follows the
// window to another screen.
void ShowPicture(QLabel *label, const QString &resource);

// A label named "Image1" that shows the picture resource stretched over the whole window, also
// when the window is resized. Made before the window's other children, it lies behind them.
QLabel *AddBackgroundPicture(QWidget *window, const QString &resource);

} // namespace voltara::ui

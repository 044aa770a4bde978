#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

#include "platform/core/Runtime.h"
#include "platform/ui/Controls.h"
#include "platform/ui/qt/Widgets.h"
#include "tests/support/TestRuntime.h"
#include "tests/support/UserActions.h"

namespace tervix::test {
namespace {

std::string Hex(const QColor& colour) {
  return colour.name(QColor::HexRgb).toUpper().toStdString();
}

// The font's look where it differs from the desktop's: bold, and a size in pixels.
std::string FontLook(const QFont& font) {
  std::string look = font.bold() ? " bold" : "";
  if (font.pixelSize() > 0)
    look.append(" ").append(std::to_string(font.pixelSize())).append("px");
  return look;
}

std::string Quoted(const QString& text) {
  return " \"" + text.section(QChar::ParagraphSeparator, 0, 0).section('\n', 0, 0).toStdString() +
         "\"";
}

// Every pixel the artwork covers whole is its own, unscaled from the top left.
bool ShowsArtwork(const QImage& shown, const char* artwork) {
  const QImage art =
      QImage(QString(TERVIX_ARTWORK_DIR "/") + artwork).convertToFormat(QImage::Format_ARGB32);
  if (art.isNull() || art.width() > shown.width() || art.height() > shown.height())
    return false;
  for (int y = 0; y < art.height(); ++y)
    for (int x = 0; x < art.width(); ++x)
      if (qAlpha(art.pixel(x, y)) == 255 &&
          (shown.pixel(x, y) & 0xFFFFFF) != (art.pixel(x, y) & 0xFFFFFF))
        return false;
  return true;
}

std::string CanvasLook(const QWidget& canvas) {
  const QImage image =
      const_cast<QWidget&>(canvas).grab().toImage().convertToFormat(QImage::Format_ARGB32);
  for (const char* artwork : {"banner.png", "icon.png"})
    if (ShowsArtwork(image, artwork))
      return std::string(" showing ") + artwork;
  return " showing none of them";
}

std::string FieldLook(const QWidget& input) {
  const auto* line = qobject_cast<const QLineEdit*>(&input);
  const auto* text = qobject_cast<const QPlainTextEdit*>(&input);
  if (line == nullptr && text == nullptr)
    return " of no known kind";
  const bool framed = line ? line->hasFrame() : text->frameShape() != QFrame::NoFrame;
  const bool readOnly = line ? line->isReadOnly() : text->isReadOnly();
  // A long text gets a scroll bar to reach its end, and long lines wrap rather than scroll across.
  const bool scrolls = text && text->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
                       text->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
                       text->lineWrapMode() != QPlainTextEdit::NoWrap;
  return std::string(text ? " multiline" : "") + (scrolls ? " scrolls down" : "") +
         (framed ? " framed" : " frameless") + (readOnly ? " read-only" : "") + " " +
         Hex(input.palette().color(QPalette::Text)) + " on " +
         Hex(input.palette().color(QPalette::Base)) + FontLook(input.font()) +
         Quoted(line ? line->text() : text->toPlainText());
}

std::string LabelLook(const QLabel& label) {
  const Qt::Alignment align = label.alignment();
  return Quoted(label.text()) +
         (align & Qt::AlignHCenter ? " centred"
          : align & Qt::AlignRight ? " right"
                                   : "") +
         (label.wordWrap() ? " wraps" : "") + " " +
         Hex(label.palette().color(QPalette::WindowText)) + FontLook(label.font());
}

std::string ControlLook(const platform::RectControl& control) {
  const QWidget& widget = *platform::qt::ControlQWidget(control);
  const QRect at = widget.geometry();
  std::string look = control.Name() + " " + std::to_string(at.x()) + "," + std::to_string(at.y()) +
                     " " + std::to_string(at.width()) + "x" + std::to_string(at.height());
  if (dynamic_cast<const platform::Canvas*>(&control))
    look.append(" canvas").append(CanvasLook(widget));
  else if (dynamic_cast<const platform::EditField*>(&control))
    look.append(" field").append(FieldLook(*platform::qt::ControlInputWidget(control)));
  else if (const auto* label = qobject_cast<const QLabel*>(&widget))
    look.append(" label").append(LabelLook(*label));
  else if (const auto* button = qobject_cast<const QPushButton*>(&widget))
    look += std::string(" button") + Quoted(button->text()) +
            (button->focusPolicy() == Qt::NoFocus ? "" : " takes focus");
  return look + (widget.isVisible() ? "" : " hidden") + (widget.isEnabled() ? "" : " disabled");
}

std::string WindowLook(const platform::Window& window) {
  const QMainWindow& shown = *platform::qt::WindowQWidget(window);
  const Qt::WindowFlags flags = shown.windowFlags();
  const QSize inner = shown.centralWidget()->size();
  std::string look = std::string("\"") + shown.windowTitle().toStdString() + "\" " +
                     std::to_string(inner.width()) + "x" + std::to_string(inner.height()) +
                     (flags & Qt::WindowCloseButtonHint ? " close" : "") +
                     (flags & Qt::WindowMinimizeButtonHint ? " minimize" : "") +
                     (flags & Qt::WindowMaximizeButtonHint ? " maximize" : "") +
                     (shown.minimumSize() == shown.maximumSize() ? " fixed" : " resizable") +
                     (shown.isVisible() ? "" : " hidden") + "\n";
  for (int32_t index = 0; index < window.ControlCount(); ++index)
    look += ControlLook(platform::NotNil(window.Control(index))) + "\n";
  return look;
}

struct ShownWindow {
  const char* name;
  const char* runtimeClassName;
  const char* opener;
  std::string look;
  friend void PrintTo(const ShownWindow& window, std::ostream* out) { *out << window.name; }
};

const ShownWindow kWindows[] = {
    {"Login", "Window1.Window1", "",
     "\"Tervix Launcher\" 389x148 close minimize fixed\n"
     "Canvas1 0,0 395x57 canvas showing banner.png\n"
     "EditField1 60,70 199x22 field framed #000000 on #FFFFFF \"\"\n"
     "StaticText1 13,72 35x20 label \"Login\" #000000\n"
     "StaticText2 0,104 276x20 label \"Please enter your gateway login...\" centred #2A4391\n"
     "BevelButton1 277,70 92x22 button \"Logon\"\n"
     "BevelButton2 277,102 92x22 button \"Restore\"\n"},
    {"Restore", "Restore.Restore", "BevelButton2",
     "\"Tervix Launcher\" 389x288 close minimize fixed\n"
     "Canvas1 0,0 395x57 canvas showing banner.png\n"
     "Terminal 20,69 349x165 field multiline scrolls down framed #00FF00 on #000000 10px "
     "\"Tervix Restore System v1.0\"\n"
     "BevelYES 205,246 117x22 button \"Yes\"\n"
     "BevelNO 65,246 117x22 button \"No\"\n"},
    {"Preferences", "Option.Option", "Pref",
     "\"Untitled\" 274x188 close minimize fixed\n"
     "BevelButton1 194,146 60x22 button \"Ok\"\n"
     "BevelButton2 122,146 60x22 button \"Cancel\"\n"
     "EditField1 20,33 234x22 field framed #000000 on #FFFFFF \"\"\n"
     "StaticText1 20,14 100x20 label \"Default login\" #000000\n"
     "StaticText2 20,65 119x20 label \"Tervix executable\" #000000\n"
     "Executable 21,86 185x23 field framed #000000 on #FFFFFF \"\"\n"
     "BevelButton3 212,86 42x22 button \"Get\"\n"},
    {"About", "AquaAboutBox.AquaAboutBox", "About",
     "\"\" 284x167 close fixed\n"
     "icon 17,22 250x50 canvas showing icon.png\n"
     "name 24,84 236x19 label \"Tervix Launcher\" centred #000000 bold 14px\n"
     "version 24,111 236x12 label \"1.0\" centred wraps #000000 10px\n"
     "copyright 24,135 236x12 label \"\u00A9 2026 Tervix Launcher developers\" centred wraps "
     "#000000 10px\n"},
};

class WindowsShownTest : public RuntimeTest, public testing::WithParamInterface<ShownWindow> {};

TEST_P(WindowsShownTest, WindowShowsWhatItsDocumentsGive) {
  const ShownWindow& expected = GetParam();
  StartLauncher();
  const std::string opener = expected.opener;
  if (opener.starts_with("Bevel"))
    Click(Shown("Window1.Window1"), opener);
  else if (!opener.empty())
    ChooseMenu(opener);
  ProcessEvents();
  EXPECT_EQ(WindowLook(Shown(expected.runtimeClassName)), expected.look);
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, WindowsShownTest, testing::ValuesIn(kWindows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tervix::test

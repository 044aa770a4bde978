#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/Exceptions.h"
#include "platform/Window.h"
#include "platform/qt/DesignKeys.h"
#include "platform/qt/Dispatcher.h"
#include "platform/qt/Widgets.h"

namespace platform {
namespace qt {
namespace {

QColor ToQColor(Color color) {
  return QColor(color.red, color.green, color.blue);
}

// Sets one of the font keys; false when the key is not a font key.
bool SetFontKey(FontStyle& font, const std::string& key, const PropertyValue& value) {
  if (key == "TextFont") {
    font.family = ValueAs<std::string>(key, value);
  } else if (key == "TextSize") {
    font.size = ValueAs<int32_t>(key, value);
  } else if (key == "Bold") {
    font.bold = ValueAs<bool>(key, value);
  } else if (key == "Italic") {
    font.italic = ValueAs<bool>(key, value);
  } else if (key == "Underline") {
    font.underline = ValueAs<bool>(key, value);
  } else {
    return false;
  }
  return true;
}

// "System" and a size of 0 mean the desktop's own font and size. Sizes are
// pixels, as the designs were laid out for a 72-dpi screen: in points a
// 10-size label would not fit its 12-pixel height on a 96-dpi desktop.
void ApplyFont(QWidget& widget, const FontStyle& font) {
  QFont qfont;
  if (!font.family.empty() && font.family != "System")
    qfont.setFamily(QString::fromStdString(font.family));
  if (font.size > 0)
    qfont.setPixelSize(font.size);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  widget.setFont(qfont);
}

void SetColorRole(QWidget& widget, QPalette::ColorRole role, const std::optional<Color>& color) {
  if (!color)
    return;
  QPalette palette = widget.palette();
  palette.setColor(role, ToQColor(*color));
  widget.setPalette(palette);
}

std::shared_ptr<RectControl> Shared(RectControl& control) {
  return control.weak_from_this().lock();
}

bool LeavesTheControl(const QFocusEvent& event) {
  return event.reason() != Qt::PopupFocusReason && event.reason() != Qt::ActiveWindowFocusReason;
}

class FocusWatcher : public QObject {
 public:
  explicit FocusWatcher(ControlWidget& host) : host_(host) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Opening a menu or another window (such as a modal dialog) moves the
    // focus only for a while; the control keeps it within its own window.
    if (event->type() == QEvent::FocusOut && LeavesTheControl(*static_cast<QFocusEvent*>(event))) {
      DispatchControlEvent(host_, "LostFocus");
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  ControlWidget& host_;
};

class CanvasWidget : public QWidget {
 public:
  ControlWidget* host = nullptr;
  QImage backdrop;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (backdrop.isNull())
      return;
    QPainter painter(this);
    painter.drawImage(0, 0, backdrop);
  }
  void mousePressEvent(QMouseEvent* event) override {
    bool handled = false;
    if (host != nullptr && !host->closed && host->owner != nullptr && host->mouseDown) {
      MouseDownHandler handler = host->mouseDown;
      const QPoint at = event->position().toPoint();
      Dispatch(host->owner->ParentWindow(), Shared(*host->owner),
               [&] { handled = handler(at.x(), at.y()); });
    }
    event->setAccepted(handled);
  }
};

struct CanvasHost : ControlWidget {
  CanvasHost() : ControlWidget(new CanvasWidget) {
    canvas = static_cast<CanvasWidget*>(widget.data());
    canvas->host = this;
    canvas->setFocusPolicy(Qt::NoFocus);
  }
  ~CanvasHost() override {
    if (!canvas.isNull())
      canvas->host = nullptr;
  }
  void SetBackdrop(const QImage& image) override {
    if (canvas.isNull())
      throw NilObjectException();
    canvas->backdrop = image;
    canvas->update();
  }

  QPointer<CanvasWidget> canvas;
};

struct EditSettings {
  bool multiline = false;
  bool border = true;
  bool scrollbarHorizontal = false;
  bool scrollbarVertical = true;
  bool password = false;
  bool readOnly = false;
  bool acceptTabs = false;
  int32_t limitText = 0;
  int32_t alignment = 0;
  std::optional<Color> textColor;
  std::optional<Color> backColor;
  FontStyle font;
};

bool SetEditKey(EditSettings& settings, const std::string& key, const PropertyValue& value) {
  if (key == "Border") {
    settings.border = ValueAs<bool>(key, value);
  } else if (key == "ScrollbarHorizontal") {
    settings.scrollbarHorizontal = ValueAs<bool>(key, value);
  } else if (key == "ScrollbarVertical") {
    settings.scrollbarVertical = ValueAs<bool>(key, value);
  } else if (key == "Password") {
    settings.password = ValueAs<bool>(key, value);
  } else if (key == "ReadOnly") {
    settings.readOnly = ValueAs<bool>(key, value);
  } else if (key == "AcceptTabs") {
    settings.acceptTabs = ValueAs<bool>(key, value);
  } else if (key == "LimitText") {
    settings.limitText = ValueAs<int32_t>(key, value);
  } else if (key == "Alignment") {
    settings.alignment = ValueAs<int32_t>(key, value);
  } else if (key == "TextColor") {
    settings.textColor = ValueAs<Color>(key, value);
  } else if (key == "BackColor") {
    settings.backColor = ValueAs<Color>(key, value);
  } else {
    return SetFontKey(settings.font, key, value);
  }
  return true;
}

Qt::Alignment EditAlignment(int32_t code) {
  switch (code) {
    case 2:
      return Qt::AlignHCenter;
    case 3:
      return Qt::AlignRight;
    default:
      return Qt::AlignLeft;
  }
}

// A single-line field is a line editor and a multi-line one a text editor;
// the design may switch between them at any point of its block, so the
// editor sits in a container that keeps the place, and the settings outlive it.
struct EditFieldHost : ControlWidget {
  EditFieldHost() : ControlWidget(new QWidget), watcher(*this) {
    layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    Rebuild(QString());
  }

  QWidget* InputWidget() const override { return editor; }

  bool SetOwnProperty(const std::string& key, const PropertyValue& value) override {
    if (key == "Text") {
      SetText(QString::fromStdString(ValueAs<std::string>(key, value)));
    } else if (key == "Multiline") {
      const bool multiline = ValueAs<bool>(key, value);
      if (multiline != settings.multiline) {
        const QString text = Text();
        settings.multiline = multiline;
        Rebuild(text);
      }
    } else if (SetEditKey(settings, key, value)) {
      Apply();
    } else {
      return false;
    }
    return true;
  }

  QString Text() const override {
    if (!plain.isNull())
      return plain->toPlainText();
    if (!line.isNull())
      return line->text();
    throw NilObjectException();
  }

  void SetText(const QString& text) override {
    if (!plain.isNull())
      plain->setPlainText(text);
    if (!line.isNull())
      line->setText(text);
  }

  // The text goes at the very end, wherever the user's cursor is.
  void AppendText(const QString& text) override {
    if (!plain.isNull()) {
      QTextCursor end(plain->document());
      end.movePosition(QTextCursor::End);
      end.insertText(text);
      plain->verticalScrollBar()->setValue(plain->verticalScrollBar()->maximum());
    } else if (!line.isNull()) {
      const int cursor = line->cursorPosition();
      line->setText(line->text() + text);
      line->setCursorPosition(cursor);
    }
  }

  void Rebuild(const QString& text) {
    if (!editor.isNull()) {
      editor->removeEventFilter(&watcher);
      editor->hide();
      editor->deleteLater();
    }
    if (settings.multiline) {
      plain = new QPlainTextEdit(widget);
      line = nullptr;
      editor = plain.data();
    } else {
      line = new QLineEdit(widget);
      plain = nullptr;
      editor = line.data();
    }
    layout->addWidget(editor);
    widget->setFocusProxy(editor);
    editor->installEventFilter(&watcher);
    SetText(text);
    Apply();
  }

  void Apply() {
    if (!line.isNull()) {
      line->setFrame(settings.border);
      line->setEchoMode(settings.password ? QLineEdit::Password : QLineEdit::Normal);
      line->setReadOnly(settings.readOnly);
      line->setMaxLength(settings.limitText > 0 ? settings.limitText : 32767);
      line->setAlignment(EditAlignment(settings.alignment) | Qt::AlignVCenter);
    }
    if (!plain.isNull()) {
      plain->setFrameShape(settings.border ? QFrame::StyledPanel : QFrame::NoFrame);
      plain->setReadOnly(settings.readOnly);
      plain->setTabChangesFocus(!settings.acceptTabs);
      plain->setVerticalScrollBarPolicy(settings.scrollbarVertical ? Qt::ScrollBarAsNeeded
                                                                   : Qt::ScrollBarAlwaysOff);
      plain->setHorizontalScrollBarPolicy(settings.scrollbarHorizontal ? Qt::ScrollBarAsNeeded
                                                                       : Qt::ScrollBarAlwaysOff);
      plain->setLineWrapMode(settings.scrollbarHorizontal ? QPlainTextEdit::NoWrap
                                                          : QPlainTextEdit::WidgetWidth);
    }
    ApplyFont(*editor, settings.font);
    SetColorRole(*editor, QPalette::Text, settings.textColor);
    SetColorRole(*editor, QPalette::Base, settings.backColor);
  }

  QVBoxLayout* layout = nullptr;
  QPointer<QWidget> editor;
  QPointer<QLineEdit> line;
  QPointer<QPlainTextEdit> plain;
  EditSettings settings;
  FocusWatcher watcher;
};

struct LabelSettings {
  int32_t textAlign = 0;
  bool multiline = false;
  std::optional<Color> textColor;
  FontStyle font;
};

bool SetLabelKey(LabelSettings& settings, const std::string& key, const PropertyValue& value) {
  if (key == "TextAlign") {
    settings.textAlign = ValueAs<int32_t>(key, value);
  } else if (key == "Multiline") {
    settings.multiline = ValueAs<bool>(key, value);
  } else if (key == "TextColor") {
    settings.textColor = ValueAs<Color>(key, value);
  } else {
    return SetFontKey(settings.font, key, value);
  }
  return true;
}

struct LabelHost : ControlWidget {
  LabelHost() : ControlWidget(new QLabel) {
    label = static_cast<QLabel*>(widget.data());
    label->setTextFormat(Qt::PlainText);
    Apply();
  }

  bool SetOwnProperty(const std::string& key, const PropertyValue& value) override {
    if (key == "Text") {
      SetText(QString::fromStdString(ValueAs<std::string>(key, value)));
    } else if (SetLabelKey(settings, key, value)) {
      Apply();
    } else {
      return false;
    }
    return true;
  }

  QString Text() const override { return Label().text(); }
  void SetText(const QString& text) override { Label().setText(text); }

  QLabel& Label() const {
    if (label.isNull())
      throw NilObjectException();
    return *label;
  }

  void Apply() {
    const Qt::Alignment horizontal = settings.textAlign == 1   ? Qt::AlignHCenter
                                     : settings.textAlign == 2 ? Qt::AlignRight
                                                               : Qt::AlignLeft;
    Label().setAlignment(horizontal | (settings.multiline ? Qt::AlignTop : Qt::AlignVCenter));
    Label().setWordWrap(settings.multiline);
    ApplyFont(Label(), settings.font);
    SetColorRole(Label(), QPalette::WindowText, settings.textColor);
  }

  QPointer<QLabel> label;
  LabelSettings settings;
};

struct ButtonHost : ControlWidget {
  ButtonHost() : ControlWidget(new QPushButton), watcher(*this) {
    button = static_cast<QPushButton*>(widget.data());
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->installEventFilter(&watcher);
    Keep(QObject::connect(button, &QPushButton::clicked,
                          [this] { DispatchControlEvent(*this, "Action"); }));
  }
  ~ButtonHost() override {
    if (!button.isNull())
      button->removeEventFilter(&watcher);
  }

  bool SetOwnProperty(const std::string& key, const PropertyValue& value) override {
    if (key == "Caption") {
      SetText(QString::fromStdString(ValueAs<std::string>(key, value)));
    } else if (SetFontKey(font, key, value)) {
      ApplyFont(Button(), font);
    } else {
      return false;
    }
    return true;
  }

  QString Text() const override { return Button().text(); }
  void SetText(const QString& text) override { Button().setText(text); }

  QPushButton& Button() const {
    if (button.isNull())
      throw NilObjectException();
    return *button;
  }

  QPointer<QPushButton> button;
  FontStyle font;
  FocusWatcher watcher;
};

}  // namespace

std::unique_ptr<ControlWidget> NewCanvasHost() {
  return std::make_unique<CanvasHost>();
}

std::unique_ptr<ControlWidget> NewEditFieldHost() {
  return std::make_unique<EditFieldHost>();
}

std::unique_ptr<ControlWidget> NewLabelHost() {
  return std::make_unique<LabelHost>();
}

std::unique_ptr<ControlWidget> NewButtonHost() {
  return std::make_unique<ButtonHost>();
}

void DispatchControlEvent(ControlWidget& host, const std::string& event) {
  if (host.closed || host.owner == nullptr)
    return;
  auto found = host.handlers.find(event);
  if (found == host.handlers.end())
    return;
  EventHandler handler = found->second;
  Dispatch(host.owner->ParentWindow(), Shared(*host.owner), handler);
}

}  // namespace qt

ControlWidget::ControlWidget(QWidget* created) : widget(created) {}

ControlWidget::~ControlWidget() {
  for (const QMetaObject::Connection& connection : connections)
    QObject::disconnect(connection);
  if (!widget.isNull() && widget->parent() == nullptr)
    widget->deleteLater();
}

bool ControlWidget::SetOwnProperty(const std::string&, const PropertyValue&) {
  return false;
}

QString ControlWidget::Text() const {
  throw RuntimeException("This control has no text");
}

void ControlWidget::SetText(const QString&) {
  throw RuntimeException("This control has no text");
}

void ControlWidget::AppendText(const QString&) {
  throw RuntimeException("This control has no text to append to");
}

void ControlWidget::SetBackdrop(const QImage&) {
  throw RuntimeException("This control has no backdrop");
}

QWidget& ControlWidget::Live() const {
  if (widget.isNull())
    throw NilObjectException();
  return *widget;
}

void ControlWidget::PlaceIn(QWidget* content) {
  Live().setParent(content);
  ApplyGeometry();
  ApplyVisible();
}

void ControlWidget::ApplyGeometry() {
  Live().setGeometry(left, top, width, height);
}

void ControlWidget::ApplyVisible() {
  // A widget without a parent would become a window of its own when shown.
  if (Live().parent() != nullptr)
    widget->setVisible(visible);
}

}  // namespace platform

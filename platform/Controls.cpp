#include "platform/Controls.h"

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
#include "platform/qt/ControlKeys.h"
#include "platform/qt/Dispatcher.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/Widgets.h"

namespace platform {
namespace {

template <class T>
const T& ValueAs(const std::string& key, const PropertyValue& value) {
  if (const T* typed = std::get_if<T>(&value))
    return *typed;
  throw RuntimeException("The property " + key + " was given a value of the wrong type");
}

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

QColor ToQColor(Color color) {
  return QColor(color.red, color.green, color.blue);
}

QWidget& Live(const ControlWidget& host) {
  if (host.widget.isNull())
    throw NilObjectException();
  return *host.widget;
}

// Sets one of the font keys; false when the key is not a font key.
bool SetFontKey(FontSpec& font, const std::string& key, const PropertyValue& value) {
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

// "System" and a size of 0 mean the desktop's own font and size.
void ApplyFont(QWidget& widget, const FontSpec& font) {
  QFont qfont = QFont();
  if (!font.family.empty() && font.family != "System")
    qfont.setFamily(ToQString(font.family));
  if (font.size > 0)
    qfont.setPointSize(font.size);
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

void DispatchControlEvent(ControlWidget& host, const std::string& event) {
  if (host.closed || host.owner == nullptr)
    return;
  auto found = host.handlers.find(event);
  if (found == host.handlers.end())
    return;
  EventHandler handler = found->second;
  qt::Dispatch(host.owner->ParentWindow(), Shared(*host.owner), handler);
}

class FocusWatcher : public QObject {
 public:
  explicit FocusWatcher(ControlWidget& host) : host_(host) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
      DispatchControlEvent(host_, "LostFocus");
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  ControlWidget& host_;
};

// Canvas

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
      qt::Dispatch(host->owner->ParentWindow(), Shared(*host->owner),
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
  QPointer<CanvasWidget> canvas;
};

// EditField

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
  FontSpec font;
};

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

struct EditFieldHost : ControlWidget {
  EditFieldHost() : ControlWidget(new QWidget), watcher(*this) {
    layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    Rebuild(QString());
  }

  QWidget* InputWidget() const override { return editor; }

  QString Text() const {
    if (!plain.isNull())
      return plain->toPlainText();
    if (!line.isNull())
      return line->text();
    throw NilObjectException();
  }

  void SetText(const QString& text) {
    if (!plain.isNull())
      plain->setPlainText(text);
    if (!line.isNull())
      line->setText(text);
  }

  void Append(const QString& text) {
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

  // Replaces the editor by one of the other kind, keeping its text and settings.
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

// StaticText

struct LabelSettings {
  int32_t textAlign = 0;
  bool multiline = false;
  std::optional<Color> textColor;
  FontSpec font;
};

struct LabelHost : ControlWidget {
  LabelHost() : ControlWidget(new QLabel) {
    label = static_cast<QLabel*>(widget.data());
    label->setTextFormat(Qt::PlainText);
    Apply();
  }

  void Apply() {
    if (label.isNull())
      throw NilObjectException();
    Qt::Alignment horizontal = settings.textAlign == 1   ? Qt::AlignHCenter
                               : settings.textAlign == 2 ? Qt::AlignRight
                                                         : Qt::AlignLeft;
    label->setAlignment(horizontal | (settings.multiline ? Qt::AlignTop : Qt::AlignVCenter));
    label->setWordWrap(settings.multiline);
    ApplyFont(*label, settings.font);
    SetColorRole(*label, QPalette::WindowText, settings.textColor);
  }

  QPointer<QLabel> label;
  LabelSettings settings;
};

// BevelButton

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

  QPointer<QPushButton> button;
  FontSpec font;
  FocusWatcher watcher;
};

bool RaisesEvent(ControlClass kind, std::string_view event) {
  if (event == "Open")
    return true;
  if (event == "Action")
    return kind == ControlClass::BevelButton;
  if (event == "LostFocus")
    return kind == ControlClass::EditField || kind == ControlClass::BevelButton;
  return false;
}

}  // namespace

// ControlWidget

ControlWidget::ControlWidget(QWidget* created) : widget(created) {}

ControlWidget::~ControlWidget() {
  for (const QMetaObject::Connection& connection : connections)
    QObject::disconnect(connection);
  if (!widget.isNull() && widget->parent() == nullptr)
    widget->deleteLater();
}

void ControlWidget::PlaceIn(QWidget* content) {
  Live(*this).setParent(content);
  ApplyGeometry();
  ApplyVisible();
}

void ControlWidget::ApplyGeometry() {
  Live(*this).setGeometry(left, top, width, height);
}

void ControlWidget::ApplyVisible() {
  // A widget without a parent would become a window of its own when shown.
  if (Live(*this).parent() != nullptr)
    widget->setVisible(visible);
}

namespace qt {

QWidget* ControlQWidget(const RectControl& control) {
  return control.Widget().widget;
}

QWidget* ControlInputWidget(const RectControl& control) {
  return control.Widget().InputWidget();
}

void RaiseControlEvent(RectControl& control, const std::string& event) {
  ControlWidget& host = control.Widget();
  if (host.closed)
    return;
  auto found = host.handlers.find(event);
  if (found == host.handlers.end())
    return;
  EventHandler handler = found->second;
  handler();
}

}  // namespace qt

// RectControl

RectControl::RectControl(std::unique_ptr<ControlWidget> widget) : widget_(std::move(widget)) {
  widget_->owner = this;
}

RectControl::~RectControl() {
  widget_->owner = nullptr;
}

int32_t RectControl::Left() const {
  return widget_->left;
}
int32_t RectControl::Top() const {
  return widget_->top;
}
int32_t RectControl::Width() const {
  return widget_->width;
}
int32_t RectControl::Height() const {
  return widget_->height;
}

void RectControl::SetTop(int32_t top) {
  widget_->top = top;
  widget_->ApplyGeometry();
}

bool RectControl::Visible() const {
  return widget_->visible;
}

void RectControl::SetVisible(bool visible) {
  widget_->visible = visible;
  widget_->ApplyVisible();
}

bool RectControl::Enabled() const {
  return !Live(*widget_).testAttribute(Qt::WA_ForceDisabled);
}

void RectControl::SetEnabled(bool enabled) {
  Live(*widget_).setEnabled(enabled);
}

void RectControl::Refresh(bool immediately) {
  if (immediately) {
    Live(*widget_).repaint();
  } else {
    Live(*widget_).update();
  }
}

void RectControl::InstallInstanceEventHandler(EventName event, EventHandler handler) {
  if (event == EventName("MouseDown")) {
    throw RuntimeException(
        "The handler of MouseDown must take the click position and return a "
        "Boolean");
  }
  if (!RaisesEvent(Kind(), event.View())) {
    throw RuntimeException(ControlClassName(Kind()) + " does not raise the event " +
                           std::string(event.View()));
  }
  widget_->handlers[std::string(event.View())] = std::move(handler);
}

void RectControl::InstallInstanceEventHandler(EventName event, MouseDownHandler handler) {
  if (event != EventName("MouseDown")) {
    throw RuntimeException("The handler of " + std::string(event.View()) +
                           " must take no arguments and return nothing");
  }
  if (Kind() != ControlClass::Canvas) {
    throw RuntimeException(ControlClassName(Kind()) + " does not raise the event MouseDown");
  }
  widget_->mouseDown = std::move(handler);
}

void RectControl::SetProperty(const std::string& key, const PropertyValue& value) {
  if (!qt::ControlKeyKnown(Kind(), key)) {
    throw RuntimeException(ControlClassName(Kind()) + " has no property " + key);
  }
  ControlWidget& host = *widget_;
  if (key == "Name") {
    name_ = ValueAs<std::string>(key, value);
  } else if (key == "Left") {
    host.left = ValueAs<int32_t>(key, value);
    host.ApplyGeometry();
  } else if (key == "Top") {
    host.top = ValueAs<int32_t>(key, value);
    host.ApplyGeometry();
  } else if (key == "Width") {
    host.width = ValueAs<int32_t>(key, value);
    host.ApplyGeometry();
  } else if (key == "Height") {
    host.height = ValueAs<int32_t>(key, value);
    host.ApplyGeometry();
  } else if (key == "Visible") {
    SetVisible(ValueAs<bool>(key, value));
  } else if (key == "Enabled") {
    SetEnabled(ValueAs<bool>(key, value));
  } else if (key == "HelpTag") {
    Live(host).setToolTip(ToQString(ValueAs<std::string>(key, value)));
  } else if (key == "TabIndex") {
    host.tabIndex = ValueAs<int32_t>(key, value);
  } else if (key == "AcceptFocus") {
    Live(host).setFocusPolicy(ValueAs<bool>(key, value) ? Qt::StrongFocus : Qt::NoFocus);
  } else {
    host.stored[key] = value;
  }
}

// Canvas

Canvas::Canvas() : RectControl(std::make_unique<CanvasHost>()) {}

void Canvas::SetBackdrop(std::shared_ptr<Picture> picture) {
  backdrop_ = std::move(picture);
  auto& host = static_cast<CanvasHost&>(Widget());
  if (host.canvas.isNull())
    throw NilObjectException();
  const auto* image = dynamic_cast<const qt::QtPicture*>(backdrop_.get());
  host.canvas->backdrop = image != nullptr ? image->Image() : QImage();
  host.canvas->update();
}

// EditField

EditField::EditField() : RectControl(std::make_unique<EditFieldHost>()) {}

std::string EditField::Text() const {
  return static_cast<EditFieldHost&>(Widget()).Text().toStdString();
}

void EditField::SetText(const std::string& text) {
  static_cast<EditFieldHost&>(Widget()).SetText(ToQString(text));
}

void EditField::AppendText(const std::string& text) {
  static_cast<EditFieldHost&>(Widget()).Append(ToQString(text));
}

void EditField::SetProperty(const std::string& key, const PropertyValue& value) {
  auto& host = static_cast<EditFieldHost&>(Widget());
  EditSettings& settings = host.settings;
  if (key == "Text") {
    SetText(ValueAs<std::string>(key, value));
    return;
  }
  if (key == "Multiline") {
    const bool multiline = ValueAs<bool>(key, value);
    if (multiline != settings.multiline) {
      const QString text = host.Text();
      settings.multiline = multiline;
      host.Rebuild(text);
    }
    return;
  }
  if (SetFontKey(settings.font, key, value)) {
  } else if (key == "Border") {
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
    RectControl::SetProperty(key, value);
    return;
  }
  host.Apply();
}

// StaticText

StaticText::StaticText() : RectControl(std::make_unique<LabelHost>()) {}

std::string StaticText::Text() const {
  auto& host = static_cast<LabelHost&>(Widget());
  if (host.label.isNull())
    throw NilObjectException();
  return host.label->text().toStdString();
}

void StaticText::SetText(const std::string& text) {
  auto& host = static_cast<LabelHost&>(Widget());
  if (host.label.isNull())
    throw NilObjectException();
  host.label->setText(ToQString(text));
}

void StaticText::SetProperty(const std::string& key, const PropertyValue& value) {
  auto& host = static_cast<LabelHost&>(Widget());
  LabelSettings& settings = host.settings;
  if (key == "Text") {
    SetText(ValueAs<std::string>(key, value));
    return;
  }
  if (SetFontKey(settings.font, key, value)) {
  } else if (key == "TextAlign") {
    settings.textAlign = ValueAs<int32_t>(key, value);
  } else if (key == "Multiline") {
    settings.multiline = ValueAs<bool>(key, value);
  } else if (key == "TextColor") {
    settings.textColor = ValueAs<Color>(key, value);
  } else {
    RectControl::SetProperty(key, value);
    return;
  }
  host.Apply();
}

// BevelButton

BevelButton::BevelButton() : RectControl(std::make_unique<ButtonHost>()) {}

std::string BevelButton::Caption() const {
  auto& host = static_cast<ButtonHost&>(Widget());
  if (host.button.isNull())
    throw NilObjectException();
  return host.button->text().toStdString();
}

void BevelButton::SetCaption(const std::string& caption) {
  auto& host = static_cast<ButtonHost&>(Widget());
  if (host.button.isNull())
    throw NilObjectException();
  host.button->setText(ToQString(caption));
}

void BevelButton::SetProperty(const std::string& key, const PropertyValue& value) {
  auto& host = static_cast<ButtonHost&>(Widget());
  if (key == "Caption") {
    SetCaption(ValueAs<std::string>(key, value));
  } else if (SetFontKey(host.font, key, value)) {
    if (host.button.isNull())
      throw NilObjectException();
    ApplyFont(*host.button, host.font);
  } else {
    RectControl::SetProperty(key, value);
  }
}

}  // namespace platform

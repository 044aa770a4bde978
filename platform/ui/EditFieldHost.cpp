#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/core/Exceptions.h"
#include "platform/ui/qt/ControlStyle.h"
#include "platform/ui/qt/DesignKeys.h"
#include "platform/ui/qt/FocusWatcher.h"
#include "platform/ui/qt/Widgets.h"

namespace platform::qt {
namespace {

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

}  // namespace

std::unique_ptr<ControlWidget> NewEditFieldHost() {
  return std::make_unique<EditFieldHost>();
}

}  // namespace platform::qt

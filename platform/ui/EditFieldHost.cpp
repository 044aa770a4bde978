#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/ui/qt/ControlStyle.h"
#include "platform/ui/qt/DesignKeys.h"
#include "platform/ui/qt/FocusWatcher.h"
#include "platform/ui/qt/LongLines.h"
#include "platform/ui/qt/Widgets.h"

namespace platform::qt {
namespace {

constexpr int kNoLimit = std::numeric_limits<int>::max();

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

void ScrollToEnd(QPlainTextEdit& editor) {
  QScrollBar& bar = *editor.verticalScrollBar();
  bar.setValue(bar.maximum());
}

// A single-line field is a line editor and a multi-line one a text editor;
// the design may switch between them at any point of its block, so the
// editor sits in a container that keeps the place, and the settings outlive it.
struct EditFieldHost : ControlWidget {
  EditFieldHost() : ControlWidget(new QWidget), watcher(*this) {
    layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    Rebuild();
  }

  QWidget* InputWidget() const override { return editor; }

  bool SetOwnProperty(const std::string& key, const PropertyValue& value) override {
    if (key == "Text") {
      SetText(ValueAs<std::string>(key, value));
    } else if (key == "Multiline") {
      const bool multiline = ValueAs<bool>(key, value);
      if (multiline != settings.multiline) {
        given = Text();
        edited = false;
        settings.multiline = multiline;
        Rebuild();
      }
    } else if (SetEditKey(settings, key, value)) {
      Apply();
    } else {
      return false;
    }
    return true;
  }

  // The editor shows text, not bytes: bytes that are not UTF-8 would come
  // back changed, so the field gives back the bytes it was given until the
  // player edits it.
  std::string Text() const override {
    if (!edited)
      return given;
    if (!plain.isNull())
      return TextOfBlocks(*plain->document());
    if (!line.isNull())
      return line->text().toStdString();
    throw NilObjectException();
  }

  void SetText(const std::string& text) override {
    given = text;
    edited = false;
    ShowGiven();
  }

  // The text goes at the very end, wherever the user's cursor is.
  void AppendText(const std::string& text) override {
    if (!edited)
      given += text;
    const QScopedValueRollback<bool> writingNow(writing, true);
    if (!plain.isNull()) {
      AppendInBlocks(*plain->document(), QString::fromStdString(text));
      // Until the editor is on screen its scroll range is a guess, so it is
      // scrolled again once the event loop has shown it.
      ScrollToEnd(*plain);
      QTimer::singleShot(0, plain, [editor = plain.data()] { ScrollToEnd(*editor); });
    } else if (!line.isNull()) {
      const int cursor = line->cursorPosition();
      line->setText(line->text() + QString::fromStdString(text));
      line->setCursorPosition(cursor);
    }
  }

  void ShowGiven() {
    const QScopedValueRollback<bool> writingNow(writing, true);
    if (!plain.isNull()) {
      plain->setPlainText(QString());
      AppendInBlocks(*plain->document(), QString::fromStdString(given));
      plain->document()->clearUndoRedoStacks();
      plain->moveCursor(QTextCursor::Start);
    } else if (!line.isNull()) {
      line->setText(QString::fromStdString(given));
    }
  }

  void MarkEdited() {
    if (!writing) {
      edited = true;
      given = std::string();
    }
  }

  void Rebuild() {
    if (!editor.isNull()) {
      editor->removeEventFilter(&watcher);
      editor->hide();
      editor->deleteLater();
    }
    if (settings.multiline) {
      plain = new QPlainTextEdit(widget);
      line = nullptr;
      editor = plain.data();
      Keep(QObject::connect(plain->document(), &QTextDocument::contentsChange, plain,
                            [this](int, int removed, int added) {
                              if (removed != 0 || added != 0)
                                MarkEdited();
                            }));
    } else {
      line = new QLineEdit(widget);
      plain = nullptr;
      editor = line.data();
      Keep(QObject::connect(line, &QLineEdit::textEdited, line, [this] { MarkEdited(); }));
    }
    layout->addWidget(editor);
    widget->setFocusProxy(editor);
    editor->installEventFilter(&watcher);
    ShowGiven();
    Apply();
  }

  void Apply() {
    if (!line.isNull()) {
      line->setFrame(settings.border);
      line->setEchoMode(settings.password ? QLineEdit::Password : QLineEdit::Normal);
      line->setReadOnly(settings.readOnly);
      line->setMaxLength(settings.limitText > 0 ? settings.limitText : kNoLimit);
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
  std::string given;
  bool edited = false;
  // Set while the framework itself changes the editor's text.
  bool writing = false;
};

}  // namespace

std::unique_ptr<ControlWidget> NewEditFieldHost() {
  return std::make_unique<EditFieldHost>();
}

}  // namespace platform::qt

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/design/PropertyBlock.h"
#include "platform/ui/EventName.h"

namespace platform {

class Picture;
class Window;
struct ControlWidget;  // the toolkit widget behind a control; framework-internal

using EventHandler = std::function<void()>;
using MouseDownHandler = std::function<bool(int32_t x, int32_t y)>;

// A control with a position and a size in its window.
class RectControl : public std::enable_shared_from_this<RectControl> {
 public:
  virtual ~RectControl();
  RectControl(const RectControl&) = delete;
  RectControl& operator=(const RectControl&) = delete;

  const std::string& Name() const { return name_; }
  // The window the control belongs to; nil once the window is gone.
  std::shared_ptr<Window> ParentWindow() const { return window_.lock(); }

  int32_t Left() const;
  int32_t Top() const;
  int32_t Width() const;
  int32_t Height() const;
  void SetTop(int32_t top);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  // Repaints the control; with immediately true, before this call returns.
  void Refresh(bool immediately);

  // Binds a handler by event name: Open, Action and LostFocus take an
  // EventHandler, MouseDown a MouseDownHandler. An event this kind of control
  // does not raise, or a handler of the wrong shape, throws RuntimeException.
  void InstallInstanceEventHandler(EventName event, EventHandler handler);
  void InstallInstanceEventHandler(EventName event, MouseDownHandler handler);

  // Sets a design property by its block key; an unknown key throws RuntimeException.
  virtual void SetProperty(const std::string& key, const PropertyValue& value);
  // The class of the control as design blocks name it.
  virtual ControlClass Kind() const = 0;

  ControlWidget& Widget() const { return *widget_; }

 protected:
  explicit RectControl(std::unique_ptr<ControlWidget> widget);

 private:
  friend class Window;
  std::string name_;
  std::weak_ptr<Window> window_;
  std::unique_ptr<ControlWidget> widget_;
};

class Canvas : public RectControl {
 public:
  Canvas();
  void SetBackdrop(std::shared_ptr<Picture> picture);
  std::shared_ptr<Picture> Backdrop() const { return backdrop_; }
  ControlClass Kind() const override { return ControlClass::Canvas; }

 private:
  std::shared_ptr<Picture> backdrop_;
};

class EditField : public RectControl {
 public:
  EditField();
  std::string Text() const;
  void SetText(const std::string& text);
  // Adds text at the end, after whatever the user typed.
  void AppendText(const std::string& text);
  void SetProperty(const std::string& key, const PropertyValue& value) override;
  ControlClass Kind() const override { return ControlClass::EditField; }
};

class StaticText : public RectControl {
 public:
  StaticText();
  std::string Text() const;
  void SetText(const std::string& text);
  void SetProperty(const std::string& key, const PropertyValue& value) override;
  ControlClass Kind() const override { return ControlClass::StaticText; }
};

class BevelButton : public RectControl {
 public:
  BevelButton();
  std::string Caption() const;
  void SetCaption(const std::string& caption);
  void SetProperty(const std::string& key, const PropertyValue& value) override;
  ControlClass Kind() const override { return ControlClass::BevelButton; }
};

}  // namespace platform

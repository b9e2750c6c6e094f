#pragma once
// Windows as VB forms: each window class has one default instance, created and
// loaded (Form_Load) when first used and destroyed by its unload. The platform's
// list of loaded windows keeps them in load order.
#include <QList>
#include <QWidget>

namespace platform {

// Puts a window at the centre of the screen's free area, as desktop programs
// open; a placement the program restores afterwards wins.
void CentreOnScreen(QWidget* window);

// Every window goes through this when loaded, and again after a stored
// placement is applied: a window whose title bar would lie off every screen
// (stored on a larger or another screen) is pulled wholly onto the nearest one,
// and no window is larger than its screen (a design too large for a small or
// scaled screen is made smaller and put wholly on it; its contents scroll, see
// ScrollFrame). A place and size that fit stay as they were.
void KeepOnScreen(QWidget* window);

class FormBase {
 public:
  virtual ~FormBase();
  virtual void Form_Load() {}
  // Set Cancel to keep the window loaded.
  virtual void Form_Unload(int& Cancel) { (void)Cancel; }
  virtual QWidget* widget() = 0;
  bool isUnloading() const { return unloading_; }

 protected:
  // For a window's closeEvent: runs the unload and decides whether to close.
  void handleCloseEvent(class QCloseEvent* event);

 private:
  friend class Forms;
  virtual void detachDefault() = 0;
  bool unloading_ = false;
};

class Forms {
 public:
  static QList<FormBase*> loaded();  // in load order
  // Unloads a window: Form_Unload, then hide and destroy. A request for a window
  // whose unload is running does nothing. False when the window cancelled.
  static bool Unload(FormBase* form);
  // Tests: destroys every window at once, without running Form_Unload.
  static void DestroyAll();

 private:
  template <class T> friend class Form;
  static void add(FormBase* form);
  static void remove(FormBase* form);
};

template <class T>
class Form : public FormBase {
 public:
  // The default instance; the first use loads it.
  static T& Default() {
    if (!instance_) {
      instance_ = new T();
      Forms::add(instance_);
      instance_->Form_Load();
      if (instance_) KeepOnScreen(instance_->widget());
    }
    return *instance_;
  }
  static bool IsLoaded() { return instance_ != nullptr; }
  static T* Existing() { return instance_; }
  static bool Unload() { return instance_ ? Forms::Unload(instance_) : true; }
  QWidget* widget() override { return static_cast<T*>(this); }

 protected:
  ~Form() override { detachDefault(); }

 private:
  void detachDefault() override {
    if (instance_ == static_cast<T*>(this)) instance_ = nullptr;
  }
  static inline T* instance_ = nullptr;
};

}  // namespace platform

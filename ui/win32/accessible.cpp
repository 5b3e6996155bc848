#include "accessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

#include "newerwindows.h"

// IID_IAccessible is given by __uuidof: MinGW's import library of oleacc.dll
// resolves the IID_IAccessible symbol to an import thunk, not to the GUID.

namespace dosat::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0xD05A7;

// What serves screen readers comes from three DLLs loaded on the first request, not
// at start-up: they cost more to load than the whole window, and most runs have no
// screen reader at all.
struct Com {
  decltype(&CreateStdAccessibleObject) createStdAccessibleObject = nullptr;
  decltype(&LresultFromObject) lresultFromObject = nullptr;
  decltype(&SysAllocStringLen) sysAllocStringLen = nullptr;
  decltype(&SysFreeString) sysFreeString = nullptr;
};

const Com& Accessibility() {
  static const Com com = [] {
    // The accessible objects handed to screen readers are COM objects of this thread.
    const auto initialize =
        FindFunction<decltype(&CoInitializeEx)>(LoadSystemLibrary(L"ole32.dll"), "CoInitializeEx");
    Com c;
    if (!initialize || FAILED(initialize(nullptr, COINIT_APARTMENTTHREADED))) return c;
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
    c.createStdAccessibleObject =
        FindFunction<decltype(c.createStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    c.lresultFromObject = FindFunction<decltype(c.lresultFromObject)>(oleacc, "LresultFromObject");
    c.sysAllocStringLen = FindFunction<decltype(c.sysAllocStringLen)>(oleaut, "SysAllocStringLen");
    c.sysFreeString = FindFunction<decltype(c.sysFreeString)>(oleaut, "SysFreeString");
    return c;
  }();
  return com;
}

BSTR Copy(const std::wstring& text) {
  return Accessibility().sysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// The accessible object of one control: the standard object Windows makes for
// it, with the name, description and, for a table, the cells as simple
// children (numbered row by row from 1, the headings first).
class Accessible final : public IAccessible {
 public:
  Accessible(IAccessible* standard, const AccessibleText& text) : standard_(standard), text_(text) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      standard_->Release();
      delete this;
    }
    return left;
  }

  // IDispatch: clients of this object call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!isTable()) return standard_->get_accChildCount(count);
    *count = static_cast<LONG>(cellCount());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!isTable()) return standard_->get_accChild(child, out);
    *out = nullptr;
    return cell(child) ? S_FALSE : E_INVALIDARG;  // cells are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (isSelf(child)) {
      *name = Copy(text_.name);
      return S_OK;
    }
    if (const std::wstring* c = cell(child)) {
      *name = Copy(*c);
      return S_OK;
    }
    return standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (const std::wstring* c = cell(child)) {
      *value = Copy(*c);
      return S_OK;
    }
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (isSelf(child) && !text_.description.empty()) {
      *description = Copy(text_.description);
      return S_OK;
    }
    if (cell(child)) {
      *description = nullptr;
      return S_FALSE;
    }
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!isTable()) return standard_->get_accRole(child, role);
    role->vt = VT_I4;
    if (isSelf(child)) {
      role->lVal = ROLE_SYSTEM_TABLE;
    } else if (cell(child)) {
      role->lVal = child.lVal <= static_cast<LONG>(columns()) ? ROLE_SYSTEM_COLUMNHEADER : ROLE_SYSTEM_CELL;
    } else {
      role->vt = VT_EMPTY;
      return E_INVALIDARG;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!cell(child)) return standard_->get_accState(child, state);
    state->vt = VT_I4;
    state->lVal = STATE_SYSTEM_READONLY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(self(child), help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, self(child), topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(self(child), shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(self(child), action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, self(child));
  }
  // A cell is placed where the table is: the picture has no cell geometry to give.
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, self(child));
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!cell(start)) return standard_->accNavigate(direction, start, end);
    LONG next = start.lVal;
    const LONG step = static_cast<LONG>(columns());
    switch (direction) {
      case NAVDIR_NEXT: case NAVDIR_RIGHT: next += 1; break;
      case NAVDIR_PREVIOUS: case NAVDIR_LEFT: next -= 1; break;
      case NAVDIR_DOWN: next += step; break;
      case NAVDIR_UP: next -= step; break;
      default: next = 0;
    }
    if (next < 1 || next > static_cast<LONG>(cellCount())) {
      end->vt = VT_EMPTY;
      return S_FALSE;
    }
    end->vt = VT_I4;
    end->lVal = next;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(self(child));
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  static bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  static VARIANT self(const VARIANT& child) {
    VARIANT out = child;
    if (out.vt == VT_I4 && out.lVal != CHILDID_SELF) out.lVal = CHILDID_SELF;
    return out;
  }
  bool isTable() const { return !text_.cells.empty(); }
  std::size_t columns() const { return isTable() ? text_.cells.front().size() : 0; }
  std::size_t cellCount() const { return text_.cells.size() * columns(); }
  const std::wstring* cell(const VARIANT& child) const {
    if (!isTable() || child.vt != VT_I4 || child.lVal < 1 ||
        static_cast<std::size_t>(child.lVal) > cellCount()) {
      return nullptr;
    }
    const auto i = static_cast<std::size_t>(child.lVal - 1);
    const auto& row = text_.cells[i / columns()];
    const std::size_t column = i % columns();
    static const std::wstring kEmpty;
    return column < row.size() ? &row[column] : &kEmpty;
  }

  ULONG references_ = 1;
  IAccessible* standard_;
  const AccessibleText& text_;  // owned by the control's subclass, which outlives every request
};

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  auto* text = reinterpret_cast<AccessibleText*>(data);
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    const Com& com = Accessibility();
    IAccessible* standard = nullptr;
    if (com.createStdAccessibleObject && com.lresultFromObject && com.sysAllocStringLen &&
        SUCCEEDED(com.createStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
      auto* accessible = new Accessible(standard, *text);
      const LRESULT result = com.lresultFromObject(__uuidof(IAccessible), wParam, accessible);
      accessible->Release();
      return result;
    }
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ControlProc, kSubclassId);
    delete text;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void ProvideAccessibleText(HWND control, AccessibleText text) {
  auto* kept = new AccessibleText(std::move(text));
  if (!SetWindowSubclass(control, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(kept))) {
    delete kept;
  }
}

void AnnounceValue(HWND control, const std::wstring& announcement) {
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
  // What screen readers speak for a control that does not have the focus,
  // where Windows has it.
  const Com& com = Accessibility();
  if (!com.sysAllocStringLen || !com.sysFreeString) return;
  BSTR text = Copy(announcement);
  BSTR activity = Copy(L"dosat.result");
  RaiseNotification(control, text, activity);
  com.sysFreeString(activity);
  com.sysFreeString(text);
}

}  // namespace dosat::win32

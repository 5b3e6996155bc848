#include "accessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include <memory>
#include <utility>

#include "newerwindows.h"
#include "tablechildren.h"

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

// What the accessible objects of one control read: shared by the control and by every
// object handed out for it. A screen reader may hold an object long after the control is
// gone; the control marks this at its destruction, and the object then touches nothing
// of the control's, keeping alive only this.
struct Element {
  Element(HWND c, AccessibleText t)
      : control(c), text(std::move(t)),
        children(text.cells.size(), text.cells.empty() ? 0 : text.cells.front().size()) {}

  HWND control;  // only while connected
  AccessibleText text;
  TableChildren children;
  bool connected = true;
};

// The accessible object of one control: the standard object Windows makes for
// it, with the name, description and, for a table, the cells as simple
// children (numbered row by row from 1, the headings first). Once the control is
// destroyed every request answers that the object is no longer connected.
class Accessible final : public IAccessible {
 public:
  Accessible(IAccessible* standard, std::shared_ptr<const Element> element)
      : standard_(standard), element_(std::move(element)) {}

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
    if (gone()) return Gone(parent);
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (gone()) return Gone(count);
    if (!isTable()) return standard_->get_accChildCount(count);
    *count = static_cast<LONG>(children().count());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (gone()) return Gone(out);
    if (!isTable()) return standard_->get_accChild(child, out);
    *out = nullptr;
    return cell(child) ? S_FALSE : E_INVALIDARG;  // cells are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (gone()) return Gone(name);
    if (isSelf(child)) {
      *name = Copy(text().name);
      return S_OK;
    }
    if (const std::wstring* c = cell(child)) {
      *name = Copy(*c);
      return S_OK;
    }
    return standard_->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (gone()) return Gone(value);
    if (const std::wstring* c = cell(child)) {
      *value = Copy(*c);
      return S_OK;
    }
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    if (gone()) return Gone(description);
    if (isSelf(child) && !text().description.empty()) {
      *description = Copy(text().description);
      return S_OK;
    }
    if (cell(child)) {
      *description = nullptr;
      return S_FALSE;
    }
    return standard_->get_accDescription(child, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (gone()) return Gone(role);
    if (!isTable()) return standard_->get_accRole(child, role);
    role->vt = VT_I4;
    if (isSelf(child)) {
      role->lVal = ROLE_SYSTEM_TABLE;
    } else if (const auto at = find(child)) {
      role->lVal = at->row == 0 ? ROLE_SYSTEM_COLUMNHEADER : ROLE_SYSTEM_CELL;
    } else {
      role->vt = VT_EMPTY;
      return E_INVALIDARG;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (gone()) return Gone(state);
    if (!cell(child)) return standard_->get_accState(child, state);
    state->vt = VT_I4;
    state->lVal = STATE_SYSTEM_READONLY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    if (gone()) return Gone(help);
    return standard_->get_accHelp(self(child), help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    if (gone()) return Gone(file, topic);
    return standard_->get_accHelpTopic(file, self(child), topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    if (gone()) return Gone(shortcut);
    return standard_->get_accKeyboardShortcut(self(child), shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (gone()) return Gone(focus);
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (gone()) return Gone(selection);
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (gone()) return Gone(action);
    return standard_->get_accDefaultAction(self(child), action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    if (gone()) return CO_E_OBJNOTCONNECTED;
    return standard_->accSelect(flags, self(child));
  }
  // A cell lies where the picture draws it; one not shown is placed where the table is.
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (gone()) return Gone(left, top, width, height);
    if (const auto at = find(child); at && text().cellArea) {
      if (const std::optional<RECT> area = text().cellArea(at->row, at->column)) {
        POINT corner{area->left, area->top};
        ClientToScreen(element_->control, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = area->right - area->left;
        *height = area->bottom - area->top;
        return S_OK;
      }
    }
    return standard_->accLocation(left, top, width, height, self(child));
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (gone()) return Gone(end);
    if (!cell(start)) return standard_->accNavigate(direction, start, end);
    const LONG next = children().Navigate(start.lVal, StepOf(direction));
    if (next == 0) {
      end->vt = VT_EMPTY;
      return S_FALSE;
    }
    end->vt = VT_I4;
    end->lVal = next;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    if (gone()) return Gone(child);
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (gone()) return CO_E_OBJNOTCONNECTED;
    return standard_->accDoDefaultAction(self(child));
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    if (gone()) return CO_E_OBJNOTCONNECTED;
    return standard_->put_accValue(child, value);
  }

 private:
  static bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  static VARIANT self(const VARIANT& child) {
    VARIANT out = child;
    if (out.vt == VT_I4 && out.lVal != CHILDID_SELF) out.lVal = CHILDID_SELF;
    return out;
  }
  static TableChildren::Step StepOf(LONG direction) {
    switch (direction) {
      case NAVDIR_NEXT: return TableChildren::Step::Next;
      case NAVDIR_PREVIOUS: return TableChildren::Step::Previous;
      case NAVDIR_LEFT: return TableChildren::Step::Left;
      case NAVDIR_RIGHT: return TableChildren::Step::Right;
      case NAVDIR_UP: return TableChildren::Step::Up;
      case NAVDIR_DOWN: return TableChildren::Step::Down;
      default: return TableChildren::Step::Other;
    }
  }
  // What a request of a disconnected object leaves in its out parameters: nothing a
  // client could take for an answer.
  static void Clear(LONG* v) { *v = 0; }
  static void Clear(BSTR* v) { *v = nullptr; }
  static void Clear(IDispatch** v) { *v = nullptr; }
  static void Clear(VARIANT* v) { v->vt = VT_EMPTY; }
  template <class... Out>
  static HRESULT Gone(Out*... out) {
    (..., (out ? Clear(out) : void()));
    return CO_E_OBJNOTCONNECTED;
  }

  bool gone() const { return !element_->connected; }
  const AccessibleText& text() const { return element_->text; }
  const TableChildren& children() const { return element_->children; }
  bool isTable() const { return children().count() != 0; }
  std::optional<TableChildren::Cell> find(const VARIANT& child) const {
    if (child.vt != VT_I4) return std::nullopt;
    return children().Find(child.lVal);
  }
  const std::wstring* cell(const VARIANT& child) const {
    const auto at = find(child);
    if (!at) return nullptr;
    const auto& row = text().cells[at->row];
    static const std::wstring kEmpty;
    return at->column < row.size() ? &row[at->column] : &kEmpty;
  }

  ULONG references_ = 1;
  IAccessible* standard_;
  std::shared_ptr<const Element> element_;
};

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR data) {
  auto* element = reinterpret_cast<std::shared_ptr<Element>*>(data);
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
    const Com& com = Accessibility();
    IAccessible* standard = nullptr;
    if (com.createStdAccessibleObject && com.lresultFromObject && com.sysAllocStringLen &&
        SUCCEEDED(com.createStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
      auto* accessible = new Accessible(standard, *element);
      const LRESULT result = com.lresultFromObject(__uuidof(IAccessible), wParam, accessible);
      accessible->Release();
      return result;
    }
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, ControlProc, kSubclassId);
    (*element)->connected = false;
    delete element;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void ProvideAccessibleText(HWND control, AccessibleText text) {
  auto* kept = new std::shared_ptr<Element>(std::make_shared<Element>(control, std::move(text)));
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

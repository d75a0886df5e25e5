#include "app/runtime/browser.h"

#include "text/codepage.h"

#include <mshtml.h>

namespace quorvane::ui {

// The container side the control talks to: client site, in-place site and
// frame in one object, living as long as the control holds it.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit BrowserSite(HWND panel) : panel_(panel) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for both the site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override {
        *out = panel_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = this;
        AddRef();
        *document = nullptr;
        GetClientRect(panel_, position);
        GetClientRect(panel_, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(panel_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~BrowserSite() = default;

    HWND panel_;
    ULONG references_ = 1;
};

std::unique_ptr<Browser> Browser::create(HWND panel) {
    std::unique_ptr<Browser> browser(new Browser);
    browser->panel_ = panel;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                reinterpret_cast<void**>(browser->object_.out()))))
        return nullptr;
    browser->site_ = new BrowserSite(panel);
    if (FAILED(browser->object_->SetClientSite(browser->site_))) return nullptr;
    RECT area{};
    GetClientRect(panel, &area);
    if (FAILED(browser->object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, browser->site_, 0, panel, &area)))
        return nullptr;
    if (FAILED(browser->object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser->browser_.out()))))
        return nullptr;
    browser->browser_->put_Silent(VARIANT_TRUE);
    browser->fitToPanel();
    return browser;
}

Browser::~Browser() {
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    browser_.reset();
    object_.reset();
    if (site_) site_->Release();
}

void Browser::navigate(std::string_view address) {
    if (!browser_) return;
    BSTR target = SysAllocString(gbkToWide(address).c_str());
    browser_->Navigate(target, nullptr, nullptr, nullptr, nullptr);
    SysFreeString(target);
}

void Browser::fitToPanel() {
    ComPtr<IOleInPlaceObject> inPlace;
    if (!object_ || FAILED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(inPlace.out()))))
        return;
    RECT area{};
    GetClientRect(panel_, &area);
    inPlace->SetObjectRects(&area, &area);
}

std::string Browser::documentHtml() const {
    if (!browser_) return {};
    ComPtr<IDispatch> document;
    if (FAILED(browser_->get_Document(document.out())) || !document) return {};
    ComPtr<IHTMLDocument3> html;
    if (FAILED(document->QueryInterface(IID_IHTMLDocument3, reinterpret_cast<void**>(html.out())))) return {};
    ComPtr<IHTMLElement> root;
    if (FAILED(html->get_documentElement(root.out())) || !root) return {};
    BSTR outer = nullptr;
    if (FAILED(root->get_outerHTML(&outer)) || !outer) return {};
    std::string text = wideToGbk(std::wstring_view(outer, SysStringLen(outer)));
    SysFreeString(outer);
    return text;
}

}  // namespace quorvane::ui

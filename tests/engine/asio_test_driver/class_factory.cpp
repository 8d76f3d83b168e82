// The in-process server's entry points. Whatever class a host asks for is the test driver: the
// tests register one DLL under several class ids, and a host asks for the driver's interface by
// the same id it created the class with.
#include <new>

#include "test_driver.h"

namespace qv::asio_test {

std::atomic<long> g_moduleRefs{0};

namespace {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(const CLSID& clsid) : clsid_(clsid) { ++g_moduleRefs; }
    ~ClassFactory() { --g_moduleRefs; }
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        auto* driver = new (std::nothrow) TestDriver(clsid_);
        if (driver == nullptr)
            return E_OUTOFMEMORY;
        HRESULT hr = driver->QueryInterface(riid, object);
        driver->Release(); // the creation reference: the caller's is the only one left
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ++g_moduleRefs;
        else
            --g_moduleRefs;
        return S_OK;
    }

private:
    const CLSID clsid_;
    std::atomic<ULONG> refs_{1};
};

} // namespace
} // namespace qv::asio_test

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    auto* factory = new (std::nothrow) qv::asio_test::ClassFactory(clsid);
    if (factory == nullptr)
        return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return qv::asio_test::g_moduleRefs == 0 ? S_OK : S_FALSE;
}

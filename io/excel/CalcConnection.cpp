#include "CalcConnection.h"

#include "UnoCalls.h"

#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <cppuhelper/implbase1.hxx>

using namespace css;
using namespace UnoCalls;

namespace {

// Hears when the bridge to the office goes away (the office ended or crashed).
class BridgeListener : public cppu::WeakImplHelper1<lang::XEventListener>
{
public:
    explicit BridgeListener(std::shared_ptr<std::atomic<bool>> alive) : m_alive(std::move(alive)) {}
    void SAL_CALL disposing(const lang::EventObject &) override { *m_alive = false; }

private:
    std::shared_ptr<std::atomic<bool>> m_alive;
};

} // namespace

CalcConnection::CalcConnection(uno::Reference<uno::XComponentContext> context,
                               uno::Reference<lang::XComponent> bridge)
    : m_context(std::move(context)), m_bridge(std::move(bridge)),
      m_alive(std::make_shared<std::atomic<bool>>(true))
{
    m_bridge->addEventListener(new BridgeListener(m_alive));
}

CalcConnection::~CalcConnection()
{
    dispose();
}

void CalcConnection::dispose()
{
    // Letting go of the bridge leaves the office and its documents running.
    try {
        if (m_bridge.is() && *m_alive)
            m_bridge->dispose();
    } catch (const uno::Exception &) {
    }
    m_bridge.clear();
    *m_alive = false;
}

uno::Reference<frame::XDesktop> CalcConnection::desktop() const
{
    return uno::Reference<frame::XDesktop>(
        m_context->getServiceManager()->createInstanceWithContext(
            ascii("com.sun.star.frame.Desktop"), m_context),
        uno::UNO_QUERY_THROW);
}

#pragma once

#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <atomic>
#include <memory>

// One bridge to a running office; calls fail cleanly once the office has gone away.
class CalcConnection
{
public:
    CalcConnection(css::uno::Reference<css::uno::XComponentContext> context,
                   css::uno::Reference<css::lang::XComponent> bridge);
    ~CalcConnection();

    bool alive() const { return *m_alive; }
    const css::uno::Reference<css::uno::XComponentContext> &context() const { return m_context; }
    css::uno::Reference<css::frame::XDesktop> desktop() const;
    void dispose();

private:
    css::uno::Reference<css::uno::XComponentContext> m_context;
    css::uno::Reference<css::lang::XComponent> m_bridge;
    std::shared_ptr<std::atomic<bool>> m_alive;
};

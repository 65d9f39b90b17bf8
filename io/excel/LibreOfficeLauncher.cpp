#include "LibreOfficeLauncher.h"

#include "CalcApplication.h"
#include "CalcConnection.h"
#include "Failure.h"
#include "OfficeProcesses.h"
#include "UnoCalls.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

#include <com/sun/star/awt/XTopWindow.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/bridge/XBridgeFactory.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/connection/XConnector.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>

#include <atomic>
#include <chrono>
#include <csignal>
#include <exception>
#include <optional>
#include <thread>
#include <type_traits>

#include <unistd.h>
using namespace css;
using namespace UnoCalls;
using rtl::OUString;

namespace {

uno::Reference<uno::XComponentContext> createLocalContext()
{
    // Without this a client that does not start the office itself crashes on its first call.
    qputenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc");
    return cppu::defaultBootstrap_InitialComponentContext();
}

// The user's own LibreOffice profile: where the office keeps it when told nothing.
QString defaultProfileFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/libreoffice/4");
}

std::shared_ptr<CalcConnection> tryConnect(const uno::Reference<uno::XComponentContext> &local,
                                           const QString &pipe)
{
    const uno::Reference<lang::XMultiComponentFactory> factory = local->getServiceManager();
    uno::Reference<connection::XConnector> connector(
        factory->createInstanceWithContext(ascii("com.sun.star.connection.Connector"), local),
        uno::UNO_QUERY_THROW);
    uno::Reference<connection::XConnection> connection;
    try {
        connection = connector->connect(toOUString(QStringLiteral("pipe,name=") + pipe));
    } catch (const connection::NoConnectException &) {
        return nullptr;
    }
    uno::Reference<bridge::XBridgeFactory> bridges(
        factory->createInstanceWithContext(ascii("com.sun.star.bridge.BridgeFactory"), local),
        uno::UNO_QUERY_THROW);
    uno::Reference<bridge::XBridge> bridge =
        bridges->createBridge(OUString(), ascii("urp"), connection, nullptr);
    uno::Reference<uno::XComponentContext> remote(
        bridge->getInstance(ascii("StarOffice.ComponentContext")), uno::UNO_QUERY_THROW);
    return std::make_shared<CalcConnection>(
        remote, uno::Reference<lang::XComponent>(bridge, uno::UNO_QUERY_THROW));
}

} // namespace

// ---- launcher -------------------------------------------------------------------------------

LibreOfficeLauncher::LibreOfficeLauncher() : LibreOfficeLauncher(Options()) {}

LibreOfficeLauncher::LibreOfficeLauncher(Options options) : m_options(std::move(options))
{
    m_releaseWhenUnused.setInterval(250);
    QObject::connect(&m_releaseWhenUnused, &QTimer::timeout, [this] {
        if (*m_uses > 0)
            return;
        m_releaseWhenUnused.stop();
        try {
            releaseNow();
        } catch (const Failure &) {
            // The office went away by itself meanwhile.
        }
    });
}

LibreOfficeLauncher::~LibreOfficeLauncher() = default;

QString LibreOfficeLauncher::sofficePath() const
{
    if (!m_options.soffice.isEmpty())
        return QFileInfo(m_options.soffice).isExecutable() ? m_options.soffice : QString();
    QString path = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    const QString bundled = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    if (path.isEmpty() && QFileInfo(bundled).isExecutable())
        path = bundled;
    return path;
}

QString LibreOfficeLauncher::pipeName() const
{
    // One office per profile: a second Tarnwell with another home (so another profile) must
    // not reach the first one's office.
    const QString profile =
        m_options.profileFolder.isEmpty() ? defaultProfileFolder() : m_options.profileFolder;
    return QStringLiteral("tarnwell_%1_%2")
        .arg(getuid())
        .arg(qHash(QFileInfo(profile).absoluteFilePath()), 0, 16);
}

bool LibreOfficeLauncher::isInstalled()
{
    return !sofficePath().isEmpty();
}

uno::Reference<uno::XComponentContext> LibreOfficeLauncher::localContext()
{
    if (!m_localContext)
        m_localContext = std::make_unique<uno::Reference<uno::XComponentContext>>(
            unoCall([] { return createLocalContext(); }));
    return *m_localContext;
}

std::shared_ptr<CalcConnection> LibreOfficeLauncher::connect()
{
    if (m_connection && m_connection->alive())
        return m_connection;
    m_connection.reset();

    const QString soffice = sofficePath();
    if (soffice.isEmpty())
        throw Failure(QCoreApplication::translate("Tarnwell", "LibreOffice Calc is not installed"),
                      429);
    const QString pipe = pipeName();
    // An office still starting up may take the connection and fail the first call: that is
    // "not yet", as no answer is.
    const auto attempt = [&]() -> std::shared_ptr<CalcConnection> {
        try {
            return unoCall([&] { return tryConnect(localContext(), pipe); });
        } catch (const Failure &) {
            return nullptr;
        }
    };
    std::shared_ptr<CalcConnection> connection = attempt();
    // An office of this profile that runs already (the user's own, without our pipe) takes
    // over the one started here: the office that answers is then the user's.
    const QString profile =
        m_options.profileFolder.isEmpty() ? defaultProfileFolder() : m_options.profileFolder;
    const bool usersOfficeRuns =
        !connection && OfficeProcesses::runsWithProfile(profile, defaultProfileFolder());
    if (!connection) {
        // An office of the same profile that is already running takes these arguments over
        // and opens the pipe itself; otherwise this starts one.
        QStringList arguments = {QStringLiteral("--nologo"), QStringLiteral("--norestore"),
                                 QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                                 QStringLiteral("--accept=pipe,name=%1;urp;").arg(pipe)};
        if (m_options.headless)
            arguments.prepend(QStringLiteral("--headless"));
        if (!m_options.profileFolder.isEmpty())
            arguments.append(QStringLiteral("-env:UserInstallation=") +
                             QUrl::fromLocalFile(m_options.profileFolder).toString());
        QProcess office;
        office.setProgram(soffice);
        office.setArguments(arguments);
        office.setStandardOutputFile(QProcess::nullDevice());
        office.setStandardErrorFile(QProcess::nullDevice());
        qint64 pid = 0;
        if (!office.startDetached(&pid))
            throw Failure(
                QCoreApplication::translate("Tarnwell", "LibreOffice could not be started: %1")
                    .arg(office.errorString()),
                429);
        if (whileStarting)
            whileStarting();
        QElapsedTimer waited;
        waited.start();
        while (!connection) {
            const bool stop = stopWaiting && stopWaiting();
            if (stop || waited.elapsed() > m_options.startTimeoutMs) {
                // An office that never answered is of no use to anyone: end it.
                ::kill(pid_t(pid), SIGTERM);
                throw Failure(stop ? QCoreApplication::translate(
                                         "Tarnwell", "Starting LibreOffice was given up")
                                   : QCoreApplication::translate(
                                         "Tarnwell", "LibreOffice did not answer within %1 seconds")
                                         .arg(m_options.startTimeoutMs / 1000),
                              429);
            }
            // Keep the window painted and let it be closed meanwhile, but take no commands;
            // knock on the pipe a few times a second.
            for (int turn = 0; turn < 5; ++turn) {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                QThread::msleep(20);
            }
            connection = attempt();
        }
        m_startedOffice = !usersOfficeRuns;
        m_officeProcess = usersOfficeRuns ? 0 : pid;
    } else {
        m_startedOffice = false;
        m_officeProcess = 0;
    }
    m_connection = connection;
    return m_connection;
}

std::shared_ptr<const void> LibreOfficeLauncher::use()
{
    ++*m_uses;
    // No object of its own: the note is its owners' count, down again when the last goes.
    return std::shared_ptr<const void>(nullptr, [uses = m_uses](const void *) { --*uses; });
}

std::unique_ptr<ExcelApplication> LibreOfficeLauncher::CreateObject()
{
    // The new command has the office now; it lets it go when done.
    m_releaseWhenUnused.stop();
    return std::make_unique<CalcApplication>(connect(), use());
}

bool LibreOfficeLauncher::officeAnswers()
{
    if (sofficePath().isEmpty())
        return false;
    try {
        return unoCall([&] { return tryConnect(localContext(), pipeName()) != nullptr; });
    } catch (const Failure &) {
        return false; // an office going away as it is asked
    }
}

void LibreOfficeLauncher::release()
{
    // A workbook given up on may still be opening: ending the office now would hold the
    // window until it is through, so the office is looked at again then.
    if (*m_uses > 0) {
        m_releaseWhenUnused.start();
        return;
    }
    releaseNow();
}

void LibreOfficeLauncher::releaseNow()
{
    if (!m_startedOffice || !m_connection || !m_connection->alive())
        return;
    const bool ended = unoCall([&] {
        const uno::Reference<frame::XDesktop> desktop = m_connection->desktop();
        std::vector<uno::Reference<util::XCloseable>> hidden;
        uno::Reference<container::XEnumeration> open =
            desktop->getComponents()->createEnumeration();
        while (open->hasMoreElements()) {
            uno::Reference<frame::XModel> model(open->nextElement(), uno::UNO_QUERY);
            if (!model.is())
                continue;
            uno::Reference<frame::XController> controller = model->getCurrentController();
            uno::Reference<awt::XWindow> window = controller.is() && controller->getFrame().is()
                                                      ? controller->getFrame()->getContainerWindow()
                                                      : uno::Reference<awt::XWindow>();
            uno::Reference<awt::XWindow2> shown(window, uno::UNO_QUERY);
            if (shown.is() && shown->isVisible())
                return false; // the user has something to look at: the office stays
            hidden.emplace_back(model, uno::UNO_QUERY);
        }
        // Nothing shown: what is left is ours (a workbook never shown), and so is the office.
        for (const auto &document : hidden) {
            try {
                if (document.is())
                    document->close(true);
            } catch (const uno::Exception &) {
                // Closing already: a workbook given up on is closed as its load ends.
            }
        }
        try {
            desktop->terminate();
        } catch (const uno::Exception &) {
            // The bridge goes down with the office.
        }
        return true;
    });
    if (!ended)
        return;
    m_connection.reset();
    m_startedOffice = false;
    // Wait (a few seconds at most, the window live) until it is gone: a command right after
    // would otherwise reach the office as it shuts down.
    QElapsedTimer waited;
    waited.start();
    const auto gone = [&] {
        // The process it started has ended, and the pipe refuses outright (an office on its
        // way out may still take a connection and fail the first call).
        if (m_officeProcess > 0 && ::kill(pid_t(m_officeProcess), 0) == 0)
            return false;
        try {
            return unoCall([&] { return tryConnect(localContext(), pipeName()) == nullptr; });
        } catch (const Failure &) {
            return false;
        }
    };
    while (!gone() && waited.elapsed() < 10000) {
        for (int turn = 0; turn < 5; ++turn) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            QThread::msleep(20);
        }
    }
    m_officeProcess = 0;
}

void LibreOfficeLauncher::terminatePrivateOffice()
{
    if (m_options.profileFolder.isEmpty() || !m_connection || !m_connection->alive())
        return;
    try {
        // A visible office would ask about unsaved documents and wait for ever: a private
        // office's documents are the tests' own, and go unsaved.
        const uno::Reference<frame::XDesktop> desktop = m_connection->desktop();
        uno::Reference<container::XEnumeration> open =
            desktop->getComponents()->createEnumeration();
        std::vector<uno::Reference<util::XCloseable>> documents;
        while (open->hasMoreElements())
            documents.emplace_back(open->nextElement(), uno::UNO_QUERY);
        for (const auto &document : documents) {
            if (document.is())
                document->close(true);
        }
        desktop->terminate();
    } catch (const uno::Exception &) {
        // The bridge goes down with the office.
    }
    m_connection.reset();
    // The office removes its profile lock as the last thing it does; wait for that, so that
    // the profile folder can be removed after us.
    const QString lock = m_options.profileFolder + QStringLiteral("/.lock");
    QElapsedTimer waited;
    waited.start();
    while (QFile::exists(lock) && waited.elapsed() < 15000)
        QThread::msleep(100);
}

#include "LibreOfficeCalc.h"

#include "CalcApplication.h"
#include "CalcText.h"
#include "Failure.h"
#include "OfficeProcesses.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
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
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/lang/XEventListener.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <cppuhelper/implbase1.hxx>

#include <atomic>
#include <chrono>
#include <csignal>
#include <exception>
#include <optional>
#include <thread>
#include <tuple>
#include <type_traits>

#include <unistd.h>

using namespace css;
using rtl::OUString;

QString toQString(const OUString &text)
{
    return QString(reinterpret_cast<const QChar *>(text.getStr()), text.getLength());
}

OUString toOUString(const QString &text)
{
    return OUString(reinterpret_cast<const sal_Unicode *>(text.utf16()), sal_Int32(text.size()));
}

namespace {

constexpr int kMaxSheetRows = 1048576;

OUString ascii(const char *text)
{
    return OUString::createFromAscii(text);
}

beans::PropertyValue property(const char *name, const uno::Any &value)
{
    beans::PropertyValue result;
    result.Name = ascii(name);
    result.Value = value;
    return result;
}

template <typename... Values> uno::Sequence<beans::PropertyValue> properties(Values... values)
{
    const beans::PropertyValue list[] = {values...};
    return uno::Sequence<beans::PropertyValue>(list, sal_Int32(sizeof...(Values)));
}

// Runs `call` on a thread of its own and keeps the window's event loop turning until it is
// done: a call into the office can take a second (a new document in an office just started,
// fitting a column of a million rows, writing a sheet as text), and the window must not freeze
// meanwhile. No user input is taken in between, so no command starts inside another's call.
template <typename Call> auto awayFromTheWindow(const Call &call) -> decltype(call())
{
    using Result = decltype(call());
    std::exception_ptr failure;
    std::atomic<bool> done{false};
    std::conditional_t<std::is_void_v<Result>, bool, std::optional<Result>> result{};
    std::thread worker([&] {
        try {
            if constexpr (std::is_void_v<Result>)
                call();
            else
                result.emplace(call());
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (!done)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    if constexpr (!std::is_void_v<Result>)
        return std::move(*result);
}

// Turns any UNO failure into ours, with the office's own message.
template <typename Call> auto unoCall(const Call &call) -> decltype(call())
{
    return awayFromTheWindow([&]() -> decltype(call()) {
        try {
            return call();
        } catch (const Failure &) {
            throw;
        } catch (const uno::Exception &error) {
            const QString message = toQString(error.Message);
            throw Failure(message.isEmpty() ? QStringLiteral("LibreOffice Calc reported a failure")
                                            : QStringLiteral("LibreOffice Calc: %1").arg(message));
        }
    });
}

// Hears when the bridge to the office goes away (the office ended or crashed).
class BridgeListener : public cppu::WeakImplHelper1<lang::XEventListener>
{
public:
    explicit BridgeListener(std::shared_ptr<std::atomic<bool>> alive) : m_alive(std::move(alive)) {}
    void SAL_CALL disposing(const lang::EventObject &) override { *m_alive = false; }

private:
    std::shared_ptr<std::atomic<bool>> m_alive;
};

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

table::CellRangeAddress usedArea(const uno::Reference<sheet::XSpreadsheet> &sheet)
{
    uno::Reference<sheet::XSheetCellCursor> cursor = sheet->createCursor();
    uno::Reference<sheet::XUsedAreaCursor> used(cursor, uno::UNO_QUERY_THROW);
    used->gotoStartOfUsedArea(false);
    used->gotoEndOfUsedArea(true);
    return uno::Reference<sheet::XCellRangeAddressable>(cursor, uno::UNO_QUERY_THROW)
        ->getRangeAddress();
}

uno::Reference<sheet::XSpreadsheet> sheetAt(const uno::Reference<frame::XModel> &workbook,
                                            int index)
{
    uno::Reference<sheet::XSpreadsheetDocument> document(workbook, uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> sheets(document->getSheets(), uno::UNO_QUERY_THROW);
    return uno::Reference<sheet::XSpreadsheet>(sheets->getByIndex(index), uno::UNO_QUERY_THROW);
}

} // namespace

// ---- connection -----------------------------------------------------------------------------

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

// ---- launcher -------------------------------------------------------------------------------

LibreOfficeLauncher::LibreOfficeLauncher() : LibreOfficeLauncher(Options()) {}

LibreOfficeLauncher::LibreOfficeLauncher(Options options) : m_options(std::move(options)) {}

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
        throw Failure(QStringLiteral("LibreOffice Calc is not installed"), 429);
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
                QStringLiteral("LibreOffice could not be started: %1").arg(office.errorString()),
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
                throw Failure(stop ? QStringLiteral("Starting LibreOffice was given up")
                                   : QStringLiteral("LibreOffice did not answer within %1 seconds")
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

std::unique_ptr<ExcelApplication> LibreOfficeLauncher::CreateObject()
{
    return std::make_unique<CalcApplication>(connect());
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
            if (document.is())
                document->close(true);
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

// ---- application ----------------------------------------------------------------------------

CalcApplication::CalcApplication(std::shared_ptr<CalcConnection> connection)
    : m_connection(std::move(connection))
{
}

void CalcApplication::checkAlive() const
{
    if (!m_connection || !m_connection->alive())
        throw Failure(QStringLiteral("LibreOffice Calc is no longer running"), 462);
}

void CalcApplication::requireWorkbook() const
{
    checkAlive();
    if (!m_workbook.is())
        throw Failure(QStringLiteral("No workbook is open"), 91);
}

void CalcApplication::WorkbooksOpen(const QString &path)
{
    checkAlive();
    const QString url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
    if (!QFileInfo(path).isFile())
        throw Failure(QStringLiteral("'%1' could not be found").arg(path), 1004);
    unoCall([&] {
        const uno::Reference<frame::XDesktop> desktop = m_connection->desktop();
        // A workbook the user already has open is used as it is.
        uno::Reference<container::XEnumeration> open =
            desktop->getComponents()->createEnumeration();
        while (open->hasMoreElements()) {
            uno::Reference<frame::XModel> model(open->nextElement(), uno::UNO_QUERY);
            if (model.is() && QUrl(toQString(model->getURL())) == QUrl(url) &&
                uno::Reference<sheet::XSpreadsheetDocument>(model, uno::UNO_QUERY).is()) {
                m_workbook = model;
                m_url = url;
                return;
            }
        }
        // Read-only, so a lock file never stops it; hidden until the caller shows it. Text
        // files would ask for import settings, so they get them.
        uno::Sequence<beans::PropertyValue> arguments =
            properties(property("Hidden", uno::Any(true)), property("ReadOnly", uno::Any(true)));
        const QString suffix = QFileInfo(path).suffix().toLower();
        if (suffix == u"csv" || suffix == u"txt") {
            arguments =
                properties(property("Hidden", uno::Any(true)), property("ReadOnly", uno::Any(true)),
                           property("FilterName", uno::Any(ascii("Text - txt - csv (StarCalc)"))),
                           property("FilterOptions", uno::Any(ascii("44,34,76,1,,0"))));
        }
        uno::Reference<frame::XComponentLoader> loader(desktop, uno::UNO_QUERY_THROW);
        uno::Reference<lang::XComponent> component =
            loader->loadComponentFromURL(toOUString(url), ascii("_blank"), 0, arguments);
        uno::Reference<frame::XModel> model(component, uno::UNO_QUERY);
        if (!model.is())
            throw Failure(QStringLiteral("LibreOffice Calc cannot open '%1'").arg(path), 1004);
        if (!uno::Reference<sheet::XSpreadsheetDocument>(model, uno::UNO_QUERY).is()) {
            uno::Reference<util::XCloseable>(model, uno::UNO_QUERY_THROW)->close(true);
            throw Failure(QStringLiteral("'%1' is not a workbook").arg(path), 1004);
        }
        m_workbook = model;
        m_url = url;
    });
}

void CalcApplication::WorkbooksAdd()
{
    checkAlive();
    unoCall([&] {
        uno::Reference<frame::XComponentLoader> loader(m_connection->desktop(),
                                                       uno::UNO_QUERY_THROW);
        m_workbook.set(loader->loadComponentFromURL(ascii("private:factory/scalc"), ascii("_blank"),
                                                    0,
                                                    properties(property("Hidden", uno::Any(true)))),
                       uno::UNO_QUERY_THROW);
    });
}

void CalcApplication::setVisible(bool visible)
{
    requireWorkbook();
    unoCall([&] {
        // "Edit Document" loads the workbook anew, in a window of its own.
        uno::Reference<frame::XFrame> frame = currentWorkbook()->getCurrentController()->getFrame();
        uno::Reference<awt::XWindow> window = frame->getContainerWindow();
        window->setVisible(visible);
        if (visible) {
            uno::Reference<awt::XTopWindow> top(window, uno::UNO_QUERY);
            if (top.is())
                top->toFront();
        }
    });
}

uno::Reference<frame::XModel> CalcApplication::currentWorkbook() const
{
    if (m_url.isEmpty())
        return m_workbook;
    uno::Reference<container::XEnumeration> open =
        m_connection->desktop()->getComponents()->createEnumeration();
    while (open->hasMoreElements()) {
        uno::Reference<frame::XModel> model(open->nextElement(), uno::UNO_QUERY);
        if (model.is() && model->getCurrentController().is() &&
            QUrl(toQString(model->getURL())) == QUrl(m_url))
            return model;
    }
    throw Failure(QStringLiteral("The workbook is no longer open"), 91);
}

namespace {
// The document's name as Calc's title bar shows it: "book.ods", "Untitled 2".
QString documentName(const uno::Reference<frame::XModel> &model)
{
    const uno::Reference<frame::XTitle> titled(model, uno::UNO_QUERY);
    if (titled.is()) {
        const QString title = toQString(titled->getTitle());
        if (!title.isEmpty())
            return title;
    }
    const QString name = QUrl(toQString(model->getURL())).fileName();
    return name.isEmpty() ? QStringLiteral("an unsaved document") : name;
}

// The rows from `firstRow` to `lastRow` (from 0) that a filter hides, ascending. Only rows
// out of sight are asked about one by one: a filter hides few of a block's rows, or the
// block is short.
std::vector<sal_Int32> filteredRows(const uno::Reference<sheet::XSpreadsheet> &sheet,
                                    sal_Int32 firstRow, sal_Int32 lastRow)
{
    uno::Reference<table::XCellRange> cells(sheet, uno::UNO_QUERY_THROW);
    uno::Reference<sheet::XCellRangesQuery> query(
        cells->getCellRangeByPosition(0, firstRow, 0, lastRow), uno::UNO_QUERY_THROW);
    std::vector<bool> inSight(size_t(lastRow - firstRow + 1), false);
    const uno::Sequence<table::CellRangeAddress> visible =
        query->queryVisibleCells()->getRangeAddresses();
    for (const table::CellRangeAddress &area : visible) {
        for (sal_Int32 row = std::max(area.StartRow, firstRow);
             row <= std::min(area.EndRow, lastRow); ++row)
            inSight[size_t(row - firstRow)] = true;
    }
    uno::Reference<table::XColumnRowRange> columnsAndRows(sheet, uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> rows(columnsAndRows->getRows(), uno::UNO_QUERY_THROW);
    std::vector<sal_Int32> filtered;
    for (sal_Int32 row = firstRow; row <= lastRow; ++row) {
        if (inSight[size_t(row - firstRow)])
            continue;
        bool isFiltered = false;
        uno::Reference<beans::XPropertySet>(rows->getByIndex(row), uno::UNO_QUERY_THROW)
            ->getPropertyValue(ascii("IsFiltered")) >>= isFiltered;
        if (isFiltered)
            filtered.push_back(row); // a row hidden by hand is still read
    }
    return filtered;
}
} // namespace

bool CalcApplication::workbookOpen()
{
    try {
        requireWorkbook();
        // A closed document answers with DisposedException; a closed file is not listed.
        return unoCall([&] { return currentWorkbook()->getCurrentController().is(); });
    } catch (const Failure &) {
        return false;
    }
}

std::optional<ExcelApplication::ActiveDocument> CalcApplication::ActiveElsewhere()
{
    requireWorkbook();
    return unoCall([&]() -> std::optional<ActiveDocument> {
        const uno::Reference<frame::XModel> ours = currentWorkbook();
        uno::Reference<frame::XModel> active(m_connection->desktop()->getCurrentComponent(),
                                             uno::UNO_QUERY);
        // Only another spreadsheet counts: the user cannot mark cells anywhere else.
        if (!active.is() || active == ours ||
            !uno::Reference<sheet::XSpreadsheetDocument>(active, uno::UNO_QUERY).is() ||
            (!m_url.isEmpty() && QUrl(toQString(active->getURL())) == QUrl(m_url)))
            return std::nullopt;
        return ActiveDocument{documentName(active), documentName(ours)};
    });
}

std::vector<CellBlock> CalcApplication::MarkedBlocks()
{
    requireWorkbook();
    return unoCall([&]() -> std::vector<CellBlock> {
        uno::Reference<view::XSelectionSupplier> supplier(currentWorkbook()->getCurrentController(),
                                                          uno::UNO_QUERY_THROW);
        const uno::Any selection = supplier->getSelection();
        std::vector<table::CellRangeAddress> addresses;
        uno::Reference<sheet::XCellRangeAddressable> single(selection, uno::UNO_QUERY);
        uno::Reference<sheet::XSheetCellRanges> several(selection, uno::UNO_QUERY);
        if (single.is())
            addresses.push_back(single->getRangeAddress());
        else if (several.is() && several->getRangeAddresses().getLength() > 0)
            addresses = markedBlocks(several->getRangeAddresses());
        // Otherwise a shape, a chart, or nothing.
        std::vector<CellBlock> blocks;
        for (const table::CellRangeAddress &address : addresses) {
            CellBlock block;
            block.sheet = address.Sheet;
            block.row = address.StartRow + 1;
            block.column = address.StartColumn + 1;
            block.rowCount = address.EndRow - address.StartRow + 1;
            block.columnCount = address.EndColumn - address.StartColumn + 1;
            blocks.push_back(block);
        }
        return blocks;
    });
}

std::vector<table::CellRangeAddress>
CalcApplication::markedBlocks(const uno::Sequence<table::CellRangeAddress> &areas) const
{
    // Calc lists the areas in an order of its own, not the order they were marked in: top to
    // bottom is the order the user can see. Calc also reports one block dragged over
    // filtered rows as the areas between them.
    std::vector<table::CellRangeAddress> sorted(areas.begin(), areas.end());
    std::sort(sorted.begin(), sorted.end(), [](const auto &a, const auto &b) {
        return std::tie(a.Sheet, a.StartRow, a.StartColumn) <
               std::tie(b.Sheet, b.StartRow, b.StartColumn);
    });
    uno::Reference<table::XColumnRowRange> sheet(sheetAt(currentWorkbook(), sorted.front().Sheet),
                                                 uno::UNO_QUERY_THROW);
    uno::Reference<container::XIndexAccess> rows(sheet->getRows(), uno::UNO_QUERY_THROW);
    const auto rowUnseen = [&](sal_Int32 row) {
        uno::Reference<beans::XPropertySet> properties(rows->getByIndex(row), uno::UNO_QUERY_THROW);
        bool visible = true, filtered = false;
        properties->getPropertyValue(ascii("IsVisible")) >>= visible;
        try {
            properties->getPropertyValue(ascii("IsFiltered")) >>= filtered;
        } catch (const uno::Exception &) {
            // An office without the property: hidden is what counts.
        }
        return !visible || filtered;
    };
    const auto oneDrag = [&](const table::CellRangeAddress &above,
                             const table::CellRangeAddress &area) {
        if (area.Sheet != above.Sheet || area.StartColumn != above.StartColumn ||
            area.EndColumn != above.EndColumn || area.StartRow <= above.EndRow ||
            area.Sheet != sorted.front().Sheet)
            return false;
        for (sal_Int32 row = above.EndRow + 1; row < area.StartRow; ++row) {
            if (!rowUnseen(row))
                return false;
        }
        return true;
    };
    std::vector<table::CellRangeAddress> blocks{sorted.front()};
    for (size_t k = 1; k < sorted.size(); ++k) {
        if (oneDrag(blocks.back(), sorted[k]))
            blocks.back().EndRow = sorted[k].EndRow;
        else
            blocks.push_back(sorted[k]);
    }
    return blocks;
}

void CalcApplication::select(const CellBlock &block)
{
    requireWorkbook();
    unoCall([&] {
        uno::Reference<table::XCellRange> cells(sheetAt(m_workbook, block.sheet),
                                                uno::UNO_QUERY_THROW);
        uno::Reference<table::XCellRange> range = cells->getCellRangeByPosition(
            block.column - 1, block.row - 1, block.lastColumn() - 1, block.lastRow() - 1);
        uno::Reference<view::XSelectionSupplier>(m_workbook->getCurrentController(),
                                                 uno::UNO_QUERY_THROW)
            ->select(uno::Any(range));
    });
}

std::vector<QStringList> CalcApplication::Text(const CellBlock &block)
{
    requireWorkbook();
    return unoCall([&]() -> std::vector<QStringList> {
        const uno::Reference<frame::XModel> workbook = currentWorkbook();
        const uno::Reference<sheet::XSpreadsheet> sheet = sheetAt(workbook, block.sheet);
        // A block marked by hand gives one row per row, empty ones too, wherever it lies. A
        // mark that runs to the sheet's end (whole columns, the whole sheet, Ctrl+Shift+Down)
        // reads only the rows in use, not a million empty ones. Columns outside the used
        // area add nothing to a row's text either way.
        const table::CellRangeAddress used = usedArea(sheet);
        int firstRow = block.row - 1;
        int lastRow = block.lastRow() - 1;
        if (block.lastRow() >= kMaxSheetRows) {
            firstRow = std::max(firstRow, int(used.StartRow));
            lastRow = std::min(lastRow, int(used.EndRow));
        }
        if (firstRow > lastRow)
            return {};
        const int firstColumn = std::max(block.column - 1, int(used.StartColumn));
        const int lastColumn = std::min(block.lastColumn() - 1, int(used.EndColumn));
        if (firstColumn > lastColumn || firstRow > int(used.EndRow) || lastRow < int(used.StartRow))
            return std::vector<QStringList>(size_t(lastRow - firstRow + 1));

        // The sheet as Calc shows it, in one call: numbers with their formats, dates,
        // formula results. Written as text to a private folder; the workbook stays unmodified.
        QTemporaryDir folder;
        if (!folder.isValid())
            throw Failure(QStringLiteral("No temporary folder for reading the sheet"));
        const QString base = folder.filePath(QStringLiteral("sheet.csv"));
        uno::Reference<frame::XStorable> storable(workbook, uno::UNO_QUERY_THROW);
        storable->storeToURL(
            toOUString(QUrl::fromLocalFile(base).toString()),
            properties(property("FilterName", uno::Any(ascii("Text - txt - csv (StarCalc)"))),
                       property("FilterOptions",
                                uno::Any(toOUString(
                                    QStringLiteral("9,34,76,1,,0,false,true,true,false,false,%1")
                                        .arg(block.sheet + 1))))));
        // Calc adds the sheet's name to the file name.
        const QStringList written =
            QDir(folder.path()).entryList({QStringLiteral("sheet*.csv")}, QDir::Files);
        if (written.isEmpty())
            throw Failure(QStringLiteral("LibreOffice Calc did not write the sheet's text"));
        QFile file(folder.filePath(written.front()));
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(
                QStringLiteral("Cannot read the sheet's text: %1").arg(file.errorString()));
        const std::vector<QStringList> table = parseCalcText(QString::fromUtf8(file.readAll()));
        std::vector<QStringList> rows = sliceTable(
            table, firstRow, firstColumn, lastRow - firstRow + 1, lastColumn - firstColumn + 1);
        // Rows a filter hides are not the user's: Calc's own copy leaves them out too.
        const std::vector<sal_Int32> filtered = filteredRows(sheet, firstRow, lastRow);
        for (auto row = filtered.rbegin(); row != filtered.rend(); ++row)
            rows.erase(rows.begin() + (*row - firstRow));
        return rows;
    });
}

void CalcApplication::setColumnTexts(int row, int column, const QStringList &texts)
{
    requireWorkbook();
    if (texts.isEmpty())
        return;
    if (row - 1 + texts.size() > kMaxSheetRows)
        throw Failure(QStringLiteral("The list has more items than a sheet has rows"), 1004);
    unoCall([&] {
        uno::Reference<table::XCellRange> cells(sheetAt(m_workbook, 0), uno::UNO_QUERY_THROW);
        uno::Reference<sheet::XCellRangeData> range(
            cells->getCellRangeByPosition(column - 1, row - 1, column - 1,
                                          row - 1 + int(texts.size()) - 1),
            uno::UNO_QUERY_THROW);
        // Strings go in as strings: "=1+2" or "0123" stay the texts they are.
        uno::Sequence<uno::Sequence<uno::Any>> data(sal_Int32(texts.size()));
        uno::Sequence<uno::Any> *rows = data.getArray();
        for (qsizetype i = 0; i < texts.size(); ++i)
            rows[i] = uno::Sequence<uno::Any>(1);
        for (qsizetype i = 0; i < texts.size(); ++i)
            rows[i].getArray()[0] <<= toOUString(texts[i]);
        range->setDataArray(data);
    });
}

void CalcApplication::AutofitColumns()
{
    requireWorkbook();
    unoCall([&] {
        const uno::Reference<sheet::XSpreadsheet> sheet = sheetAt(m_workbook, 0);
        const table::CellRangeAddress used = usedArea(sheet);
        uno::Reference<table::XColumnRowRange> range(sheet, uno::UNO_QUERY_THROW);
        uno::Reference<container::XIndexAccess> columns(range->getColumns(), uno::UNO_QUERY_THROW);
        // A very long item would make its column metres wide; a hundred characters' width
        // (in 1/100 mm) is as wide as a column gets.
        constexpr sal_Int32 kWidestColumn = 100 * 200;
        for (sal_Int32 column = used.StartColumn; column <= used.EndColumn; ++column) {
            uno::Reference<beans::XPropertySet> properties(columns->getByIndex(column),
                                                           uno::UNO_QUERY_THROW);
            properties->setPropertyValue(ascii("OptimalWidth"), uno::Any(true));
            sal_Int32 width = 0;
            properties->getPropertyValue(ascii("Width")) >>= width;
            if (width > kWidestColumn)
                properties->setPropertyValue(ascii("Width"), uno::Any(kWidestColumn));
        }
    });
}

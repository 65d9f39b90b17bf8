#pragma once

#include "ExcelLauncher.h"

#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

class CalcConnection;
namespace com::sun::star::uno {
class XComponentContext;
template <class interface_type> class Reference;
} // namespace com::sun::star::uno

// Reaches LibreOffice Calc over UNO: connects to the office's pipe or starts soffice (with the
// user's own profile unless told otherwise) and connects, waiting a bounded time. It never
// closes the user's office or documents.
class LibreOfficeLauncher : public ExcelLauncher
{
public:
    struct Options
    {
        QString soffice;       // empty: found on PATH or in LibreOffice's program folder
        QString profileFolder; // empty: the user's own profile
        bool headless = false; // for tests without a display
        int startTimeoutMs = 60000;
    };

    LibreOfficeLauncher();
    explicit LibreOfficeLauncher(Options options);
    ~LibreOfficeLauncher() override;

    bool isInstalled() override;
    std::unique_ptr<ExcelApplication> CreateObject() override;
    // As ExcelLauncher::release(); while a workbook given up on still opens in the office, the
    // office is ended once that is through (and no command has taken the office meanwhile).
    void release() override;
    // True when an office answers on this launcher's pipe.
    bool officeAnswers();

    // Ends the office this launcher connected to. Only for an office with a private profile,
    // as tests start; the user's office is never ended.
    void terminatePrivateOffice();

    QString sofficePath() const;
    // The name of the pipe the office of the profile in use answers on.
    QString pipeName() const;

private:
    std::shared_ptr<CalcConnection> connect();
    // A note that the office is in use, held by each application object and each load it
    // gave up on.
    std::shared_ptr<const void> use();
    void releaseNow();
    com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext> localContext();

    Options m_options;
    // The process's own UNO context, made on first use.
    std::unique_ptr<com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>>
        m_localContext;
    std::shared_ptr<CalcConnection> m_connection;
    bool m_startedOffice = false; // the office of m_connection is one this launcher started
    qint64 m_officeProcess = 0;   // the process this launcher started, while it may run
    std::shared_ptr<std::atomic<int>> m_uses = std::make_shared<std::atomic<int>>(0);
    QTimer m_releaseWhenUnused; // looks again whether the office is still in use
};

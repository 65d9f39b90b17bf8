#pragma once

// The UNO side of the Calc application object. Only the launcher and the Calc tests see it.

#include "ExcelApplication.h"
#include "UnoStrings.h"

#include <com/sun/star/frame/XDesktop.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <memory>

class CalcConnection;

class CalcApplication : public ExcelApplication
{
public:
    // `use` is held while this object, or a load it gave up on, still works in the office.
    explicit CalcApplication(std::shared_ptr<CalcConnection> connection,
                             std::shared_ptr<const void> use = nullptr);

    void WorkbooksOpen(const QString &path) override;
    void WorkbooksAdd() override;
    void setVisible(bool visible) override;
    std::vector<CellBlock> MarkedBlocks() override;
    std::optional<ActiveDocument> ActiveElsewhere() override;
    bool workbookOpen() override;
    std::vector<QStringList> Text(const CellBlock &block) override;
    void setColumnTexts(int row, int column, const QStringList &texts) override;
    void AutofitColumns() override;

    // The workbook this object works on (for tests: to mark cells and read them back).
    css::uno::Reference<css::frame::XModel> workbook() const { return m_workbook; }
    // Marks a block, as the user would with the mouse.
    void select(const CellBlock &block);
    // Answers the office's questions while a workbook opens (its password box) in place of
    // the office's own dialogs, as a user would (for tests without a display).
    void answerPasswordsWith(css::uno::Reference<css::task::XInteractionHandler> answering);

private:
    void requireWorkbook() const;
    void checkAlive() const;
    // The workbook as the office has it now: "Edit Document" loads it anew, so it is looked
    // up by its address, not kept from when it was opened.
    css::uno::Reference<css::frame::XModel> currentWorkbook() const;
    // The blocks that marked areas make up, top to bottom: areas of the same columns with
    // only rows the user cannot see between them are one block dragged over filtered rows.
    std::vector<css::table::CellRangeAddress>
    markedBlocks(const css::uno::Sequence<css::table::CellRangeAddress> &areas) const;

    std::shared_ptr<CalcConnection> m_connection;
    css::uno::Reference<css::frame::XModel> m_workbook;
    QString m_url; // of the workbook opened, when it was opened from a file
    std::shared_ptr<const void> m_use;
    css::uno::Reference<css::task::XInteractionHandler> m_passwordAnswers;
};

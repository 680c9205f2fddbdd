#include "platform/gui/TableGrid.h"

#include "platform/gui/QtControls.h"
#include "platform/gui/StatusAnnouncer.h"
#include "platform/gui/TableGridDelegate.h"
#include "platform/gui/TableGridModel.h"

#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cmath>
#include <set>
#include <utility>

namespace tollivex::platform {

namespace {
constexpr int kRowHeight = 18;
constexpr int kSelectorWidth = 12;

QColor ToColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

QString Css(const QColor& c) { return c.name(QColor::HexRgb); }
} // namespace

TableGrid::TableGrid(QWidget* parent, const GridColumns& columns)
{
    frame_ = new QFrame(parent);
    frame_->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(frame_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    captionLabel_ = new QLabel(frame_);
    captionLabel_->hide();
    layout->addWidget(captionLabel_);

    view_ = new QTableView(frame_);
    model_ = new TableGridModel(columns, view_);
    view_->setModel(model_);
    delegate_ = new TableGridDelegate(view_, model_, &look_, [this](int row, int column) {
        return GridCell{GridRow{row, binding_}, column};
    });
    view_->setItemDelegate(delegate_);
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    view_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view_->setShowGrid(false); // the delegate draws the borders, so a filter can skip them
    view_->setWordWrap(false);
    view_->setTabKeyNavigation(false);
    view_->horizontalHeader()->setSectionsClickable(false); // a header click must not select a whole column
    view_->horizontalHeader()->setHighlightSections(false);
    view_->horizontalHeader()->setStretchLastSection(false);
    view_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->verticalHeader()->setFixedWidth(kSelectorWidth);
    view_->verticalHeader()->setHighlightSections(false);
    view_->viewport()->setMouseTracking(true);
    view_->viewport()->installEventFilter(this);
    view_->installEventFilter(this); // Tab leaves the grid for the movie; Delete removes rows
    view_->setAccessibleName(QStringLiteral("Download list"));
    layout->addWidget(view_);
    announcer_ = std::make_unique<StatusAnnouncer>(frame_);
    layout->addWidget(announcer_->Widget());

    model_->beforeUpdate = [this](int row, int column, const std::string& value) {
        bool cancel = false;
        if (handlers_.BeforeCellUpdate)
            handlers_.BeforeCellUpdate(GridCell{GridRow{row, binding_}, column}, value, cancel);
        return cancel;
    };
    model_->afterUpdate = [this](int row, int column) {
        if (handlers_.AfterCellUpdate)
            handlers_.AfterCellUpdate(GridCell{GridRow{row, binding_}, column});
    };
}

TableGrid::~TableGrid()
{
    // The parent may already have destroyed the widgets.
    if (frame_)
        delete frame_.data();
}

QWidget* TableGrid::Widget() const { return frame_.data(); }
GridDrawFilter* TableGrid::DrawFilter() const { return delegate_->Filter(); }

void TableGrid::SetDataSource(std::shared_ptr<const GridTable> table)
{
    if (!frame_)
        return;
    // Rebinding keeps the list where the user was looking; the selection goes
    // with the old table because its rows may now hold other items.
    const int scroll = view_->verticalScrollBar()->value();
    const bool bound = table != nullptr;
    pending_.reset();
    ++binding_;
    model_->Bind(std::move(table));
    announcer_->Bound(*model_);
    view_->verticalScrollBar()->setValue(scroll);
    if (bound && handlers_.InitializeLayout)
        handlers_.InitializeLayout();
}

bool TableGrid::IsCurrent(const GridRow& row) const
{
    return frame_ && row.binding == binding_ && row.index >= 0 && row.index < model_->rowCount();
}

bool TableGrid::IsCurrent(const GridCell& cell) const
{
    return IsCurrent(cell.row) && cell.column >= 0 && cell.column < model_->ColumnCount();
}

std::optional<GridRow> TableGrid::FirstRow() const
{
    if (!frame_ || model_->rowCount() == 0)
        return std::nullopt;
    return GridRow{0, binding_};
}

std::optional<GridRow> TableGrid::LastRow() const
{
    if (!frame_ || model_->rowCount() == 0)
        return std::nullopt;
    return GridRow{model_->rowCount() - 1, binding_};
}

std::optional<GridRow> TableGrid::NextRow(const GridRow& row) const
{
    if (!IsCurrent(row) || row.index + 1 >= model_->rowCount())
        return std::nullopt;
    return GridRow{row.index + 1, binding_};
}

std::optional<GridRow> TableGrid::PreviousRow(const GridRow& row) const
{
    if (!IsCurrent(row) || row.index == 0)
        return std::nullopt;
    return GridRow{row.index - 1, binding_};
}

std::string TableGrid::CellText(const GridCell& cell) const
{
    if (!IsCurrent(cell))
        return {};
    return model_->Text(cell.row.index, cell.column);
}

std::string TableGrid::CellTip(const GridCell& cell) const
{
    if (!IsCurrent(cell))
        return {};
    return model_->Tip(cell.row.index, cell.column);
}

void TableGrid::SetCellValue(const GridCell& cell, const std::string& value)
{
    if (!IsCurrent(cell))
        return;
    model_->Write(cell.row.index, cell.column, value);
    if (cell.column == model_->Columns().status)
        announcer_->Written(*model_, cell.row.index);
}

void TableGrid::SetRowNote(const GridRow& row, const std::string& note)
{
    if (IsCurrent(row))
        model_->WriteNote(row.index, note);
}

std::string TableGrid::ColumnKey(int column) const
{
    if (column < 0 || column >= model_->ColumnCount())
        return {};
    return model_->Columns().keys[static_cast<size_t>(column)];
}

void TableGrid::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (!frame_)
        return;
    captionLabel_->setText(QString::fromStdString(caption));
    captionLabel_->setVisible(!caption.empty());
}

void TableGrid::SetColumnCaption(int column, const std::string& caption) { model_->SetCaption(column, caption); }

int TableGrid::TwipsToPixels(float twips) const
{
    const int dpi = frame_ ? view_->logicalDpiX() : 96;
    return static_cast<int>(std::lround(static_cast<double>(twips) / 15.0 * dpi / 96.0));
}

void TableGrid::SetColumnWidthTwips(int column, float twips)
{
    if (!frame_ || column < 0 || column >= model_->ColumnCount() || !(twips >= 0))
        return;
    view_->setColumnWidth(column, TwipsToPixels(twips));
}

void TableGrid::SetColumnEditable(int column, bool editable) { model_->SetEditable(column, editable); }

void TableGrid::SetAppearanceColors(GridAppearance which, std::optional<Rgb> back, std::optional<Rgb> fore,
                                    std::optional<Rgb> third)
{
    if (!frame_)
        return;
    // A colour left out keeps what the group had.
    auto take = [](QColor& target, const std::optional<Rgb>& given) {
        if (given)
            target = ToColor(*given);
    };
    switch (which) {
    case GridAppearance::Grid:
        if (back) {
            look_.gridBack = ToColor(*back);
            QPalette p = view_->palette();
            p.setColor(QPalette::Base, look_.gridBack);
            p.setColor(QPalette::Window, look_.gridBack);
            view_->setPalette(p);
            frame_->setAutoFillBackground(true);
            frame_->setPalette(p);
        }
        take(look_.lineColor, third);
        break;
    // Which state wears which group is chosen so that text reaches 4.5:1 on
    // every background: the two groups whose white fore colour is unreadable
    // on their own back colour go where no text is drawn on it, or where the
    // text takes the readable colour instead (see ReadableOn).
    case GridAppearance::Group1:
        take(look_.selectorBack, back);
        take(look_.selectorFore, fore);
        break;
    case GridAppearance::Group2:
        take(look_.activeBack, back);
        take(look_.activeFore, fore);
        break;
    case GridAppearance::Group3:
        take(look_.rowBack, back);
        take(look_.rowFore, fore);
        break;
    case GridAppearance::Group4:
        take(look_.selectedBack, back);
        take(look_.selectedFore, fore);
        break;
    case GridAppearance::Group5:
        take(look_.headerBack, back);
        take(look_.headerFore, fore);
        break;
    }
    ApplyHeaderLook();
    view_->viewport()->update();
}

void TableGrid::ApplyHeaderLook()
{
    const QString line = Css(look_.lineColor);
    auto sheet = [&](const QColor& back, const QColor& fore) {
        QString s = "QHeaderView::section { border: 0px; border-right: 1px solid " + line +
                    "; border-bottom: 1px solid " + line + "; padding-left: 3px;";
        if (back.isValid())
            s += " background-color: " + Css(back) + "; color: " + Css(ReadableOn(back, fore)) + ";";
        return s + " }";
    };
    view_->horizontalHeader()->setStyleSheet(sheet(look_.headerBack, look_.headerFore));
    view_->verticalHeader()->setStyleSheet(sheet(look_.selectorBack, look_.selectorFore));
}

void TableGrid::SetColumnOption(int column, GridColumnOption option, bool on)
{
    switch (option) {
    case GridColumnOption::FullTextTip: model_->SetFullTextTip(column, on); break;
    case GridColumnOption::Centered: model_->SetCentered(column, on); break;
    }
}

void TableGrid::SetGridOption(GridOption option, bool on)
{
    if (!frame_)
        return;
    switch (option) {
    case GridOption::RowSelectors: view_->verticalHeader()->setVisible(on); break;
    case GridOption::HeaderSelectsColumn: view_->horizontalHeader()->setSectionsClickable(on); break;
    }
}

void TableGrid::SetHandlers(GridHandlers handlers) { handlers_ = std::move(handlers); }

void TableGrid::SetDrawFilter(GridDrawFilter* filter)
{
    delegate_->SetFilter(filter);
    if (frame_)
        view_->viewport()->update();
}

void TableGrid::SetVisible(bool visible)
{
    if (frame_)
        frame_->setVisible(visible);
}

bool TableGrid::IsVisible() const { return frame_ && !frame_->isHidden(); }

void TableGrid::BringToFront()
{
    if (frame_)
        frame_->raise();
}

void TableGrid::SetGeometry(int left, int top, int width, int height)
{
    if (frame_)
        frame_->setGeometry(left, top, width, height);
}

bool TableGrid::IsActiveControl() const
{
    if (!frame_)
        return false;
    QWidget* focus = frame_->window()->focusWidget();
    return focus && (focus == frame_ || frame_->isAncestorOf(focus));
}

void TableGrid::Activate()
{
    if (frame_)
        view_->setFocus(Qt::OtherFocusReason);
}

bool TableGrid::TakeFocusFromTab()
{
    if (!frame_ || frame_->isHidden() || model_->rowCount() == 0)
        return false;
    if (!view_->currentIndex().isValid())
        view_->setCurrentIndex(model_->index(0, 0));
    view_->setFocus(Qt::TabFocusReason);
    return true;
}

void TableGrid::ScrollRowRegion(int action)
{
    if (!frame_)
        return;
    QScrollBar* bar = view_->verticalScrollBar();
    if (action == 0)
        bar->setValue(bar->value() - 1);
    else if (action == 1)
        bar->setValue(bar->value() + 1);
}

bool TableGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (HandleContextMenu(watched, event))
        return true;
    // The type test comes first: during the view's destruction other events still pass here.
    if (event->type() == QEvent::KeyPress && tabOut_ && frame_ && watched == view_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            tabOut_(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    // Delete removes the selected rows; in an open editor it stays the editor's.
    if (event->type() == QEvent::KeyPress && frame_ && watched == view_ && handlers_.DeletePressed) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && !(key->modifiers() & ~Qt::KeypadModifier)) {
            handlers_.DeletePressed();
            return true;
        }
    }
    if (event->type() == QEvent::Wheel && frame_ && watched == view_->viewport()) {
        // One row a notch over the list, whichever control has the keyboard:
        // left to the view, a notch would move three rows.
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        if (delta == 0)
            return false; // a touchpad phase, or a sideways turn
        ScrollRowRegion(delta > 0 ? 0 : 1);
        return true;
    }
    if (event->type() == QEvent::MouseMove && frame_ && watched == view_->viewport() && delegate_->Filter()) {
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = view_->indexAt(pos);
        if (index.isValid()) {
            GridUIElement element;
            element.rect = view_->visualRect(index);
            element.cell = GridCell{GridRow{index.row(), binding_}, index.column()};
            bool resize = false;
            std::optional<QCursor> cursor;
            delegate_->Filter()->BeforeSetCursor(element, resize, cursor);
            if (cursor)
                view_->viewport()->setCursor(*cursor);
            else
                view_->viewport()->unsetCursor();
        }
    }
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<GridControl> CreateGridControl(QWidget* parent, const GridColumns& columns)
{
    return std::make_unique<TableGrid>(parent, columns);
}

} // namespace tollivex::platform

#include "platform/gui/StatusAnnouncer.h"

#include "platform/gui/TableGridModel.h"

#include <QStatusBar>

#include <algorithm>
#include <cctype>

namespace tollivex::platform {

namespace {
bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
} // namespace

StatusAnnouncer::StatusAnnouncer(QWidget* parent) : bar_(new QStatusBar(parent))
{
    bar_->setSizeGripEnabled(false);
    bar_->setFixedHeight(0);
    bar_->setAccessibleName(QStringLiteral("Ready"));
}

QWidget* StatusAnnouncer::Widget() const { return bar_; }

QString StatusAnnouncer::Last() const { return bar_->accessibleName(); }

std::string StatusAnnouncer::Stage(const std::string& status)
{
    const bool number = !status.empty() && std::all_of(status.begin(), status.end(), [](unsigned char c) {
        return std::isdigit(c) || c == '.' || c == '-';
    });
    if (number || EndsWith(status, "so far.."))
        return "Downloading";
    if (status.rfind("Preperaing", 0) == 0)
        return "Preperaing...";
    return status;
}

bool StatusAnnouncer::Note(const TableGridModel& model, int row)
{
    const std::string stage = Stage(model.Text(row, model.Columns().status));
    auto [at, added] = stages_.try_emplace(model.Text(row, model.Columns().address), stage);
    if (added || at->second == stage)
        return false;
    at->second = stage;
    return true;
}

void StatusAnnouncer::Say(const TableGridModel& model, int row)
{
    const QString news = QString::fromStdString(model.Text(row, model.Columns().name) + ": " +
                                                Stage(model.Text(row, model.Columns().status)));
    if (news != bar_->accessibleName())
        bar_->setAccessibleName(news); // raises the name change a screen reader reads out
}

void StatusAnnouncer::Bound(const TableGridModel& model)
{
    // Items no longer listed are forgotten, so the map never outgrows the list.
    std::unordered_map<std::string, std::string> before;
    before.swap(stages_);
    int changed = -1;
    for (int row = 0; row < model.rowCount(); ++row) {
        const std::string& address = model.Text(row, model.Columns().address);
        const std::string stage = Stage(model.Text(row, model.Columns().status));
        auto known = before.find(address);
        if (known != before.end() && known->second != stage)
            changed = row;
        stages_.emplace(address, stage);
    }
    if (changed >= 0)
        Say(model, changed);
}

void StatusAnnouncer::Written(const TableGridModel& model, int row)
{
    if (Note(model, row))
        Say(model, row);
}

} // namespace tollivex::platform

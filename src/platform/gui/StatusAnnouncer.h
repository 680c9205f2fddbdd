#pragma once
// Tells a screen reader, politely, when an item of the list moves on to
// another stage (waiting, preparing, downloading, complete, error,
// cancelled): a status bar whose accessible name is the latest news. The
// percentages of a running download are one stage, so they are not read out.

#include <QString>

#include <string>
#include <unordered_map>

class QStatusBar;
class QWidget;

namespace tollivex::platform {

class TableGridModel;

class StatusAnnouncer {
public:
    /// The status bar is made a child of `parent`, taking no room.
    explicit StatusAnnouncer(QWidget* parent);

    QWidget* Widget() const;
    /// A new table was bound: every item whose stage changed is announced
    /// (the last one wins); items new to the list are not.
    void Bound(const TableGridModel& model);
    /// One row's status was written.
    void Written(const TableGridModel& model, int row);
    /// The latest announcement.
    QString Last() const;

    /// The stage a status text belongs to: a percentage or "so far" is
    /// "Downloading", a "Preperaing (" text is "Preperaing...".
    static std::string Stage(const std::string& status);

private:
    /// Records the row's stage; true when it changed from a known one.
    bool Note(const TableGridModel& model, int row);
    void Say(const TableGridModel& model, int row);

    QStatusBar* bar_;
    std::unordered_map<std::string, std::string> stages_; // address -> stage
};

} // namespace tollivex::platform

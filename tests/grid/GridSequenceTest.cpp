// Random sequences of grid edits, each from a fixed seed, against a plain
// list of what the queue should hold: after every step the IDs run 1..n in
// order and every grid row shows its item.

#include "GridTestSupport.h"

#include "queue/DownloadItem.h"

#include <algorithm>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tollivex::test {
namespace {

struct ModelItem {
    std::string label;
    std::string status;
};

class GridSequence : public GridForm {
protected:
    size_t Pick(size_t n) { return static_cast<size_t>(rng() % n); }

    ::testing::AssertionResult MatchesModel() const
    {
        if (Labels().size() != model.size())
            return ::testing::AssertionFailure()
                   << "queue holds " << Labels().size() << " items, the model " << model.size();
        for (size_t i = 0; i < model.size(); ++i) {
            if (Labels()[i] != model[i].label || DownloadQueue[i].Status != model[i].status)
                return ::testing::AssertionFailure()
                       << "item " << i << " is " << Labels()[i] << "/" << DownloadQueue[i].Status << ", the model has "
                       << model[i].label << "/" << model[i].status;
        }
        return QueueAndGridAgree();
    }

    void Step(std::ostringstream& log)
    {
        const size_t n = model.size();
        switch (Pick(8)) {
        case 0:
        case 1: { // a new address, or one already queued
            std::string label = "v" + std::to_string(next++);
            if (n > 0 && Pick(4) == 0)
                label = model[Pick(n)].label;
            else
                model.push_back({label, status::kWaiting});
            log << "add " << label << "; ";
            form->AddVideoUrl(AddressOf(label));
            break;
        }
        case 2: { // an item finishes, as the run marks it
            if (n == 0)
                return;
            const size_t i = Pick(n);
            log << "finish " << i << "; ";
            model[i].status = Pick(3) == 0 ? status::kError : status::kComplete;
            DownloadQueue[i].Status = model[i].status;
            form->FillDownloadList();
            break;
        }
        case 3: { // cells and rows of a few rows, picked in any order
            std::set<size_t> rows;
            const size_t picks = n == 0 ? 0 : 1 + Pick(3);
            log << "remove";
            for (size_t k = 0; k < picks; ++k) {
                const size_t r = Pick(n);
                rows.insert(r);
                log << " " << r;
                if (Pick(3) == 0)
                    SelectRow(static_cast<int>(r));
                else
                    SelectCell(static_cast<int>(r), static_cast<int>(Pick(kDownloadListColumns)));
            }
            log << "; ";
            for (auto it = rows.rbegin(); it != rows.rend(); ++it)
                model.erase(model.begin() + static_cast<long>(*it));
            form->Grid.RemoveSelected();
            break;
        }
        case 4:
        case 5: { // one item up or down
            const bool up = Pick(2) == 0;
            if (n == 0) {
                log << (up ? "up" : "down") << " nothing; ";
            } else {
                const size_t r = Pick(n);
                log << (up ? "up " : "down ") << r << "; ";
                SelectCell(static_cast<int>(r), static_cast<int>(Pick(kDownloadListColumns)));
                if (up && r > 0)
                    std::swap(model[r - 1], model[r]);
                if (!up && r + 1 < n)
                    std::swap(model[r], model[r + 1]);
            }
            if (up)
                form->Grid.MoveSelectedUp();
            else
                form->Grid.MoveSelectedDown();
            break;
        }
        case 6: {
            log << "clear; ";
            std::vector<ModelItem> kept;
            for (const ModelItem& item : model)
                if (item.status != status::kComplete)
                    kept.push_back(item);
            model = kept;
            form->Grid.ClearCompleted();
            break;
        }
        default: {
            if (Pick(4) != 0)
                return;
            log << "all; ";
            model.clear();
            form->Grid.SelectAll();
            form->Grid.RemoveSelected();
            break;
        }
        }
    }

    std::mt19937 rng;
    std::vector<ModelItem> model;
    int next = 0;
};

TEST_F(GridSequence, RandomEditsKeepIdsInOrderAndTheGridInStepWithTheQueue)
{
    size_t largest = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        rng.seed(seed);
        model.clear();
        DownloadQueue.clear();
        form->FillDownloadList();
        std::ostringstream log;
        for (int step = 0; step < 150; ++step) {
            Step(log);
            const auto agree = MatchesModel();
            ASSERT_TRUE(agree) << "seed " << seed << " after: " << log.str();
            if (model.empty()) {
                ASSERT_EQ(GridRows(), 0);
            }
            largest = std::max(largest, model.size());
        }
    }
    // The sequences reach lists where removals and moves have room to go wrong.
    EXPECT_GE(largest, 8u);
}

} // namespace
} // namespace tollivex::test

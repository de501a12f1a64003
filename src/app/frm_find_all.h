#pragma once
// "Find in all categories": every match of a text in every category, listed with the
// category's name, the line's number and the line with the match marked. Files are read
// on a worker thread, so the windows keep answering; a search that takes more than a
// moment shows its progress and can be stopped.
//
//     frm.OnSearch = [&] { frm.Start(sources); };   // "Find" pressed
//     frm.OnGoTo = [&](const FindAllRow& row) { ... };  // Enter or a double click
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/search.h"
#include "ui/actions.h"
#include "ui/controls.h"
#include "ui/list_view.h"

namespace vp {

// One category to search: its file, or the matches already found in the pad's own text.
struct FindAllSource {
    std::u16string category, path;
    std::optional<std::vector<MatchLine>> found;
};

struct FindAllRow {
    std::u16string category, path;
    MatchLine match;
    // Why the category's file could not be read; empty for a match.
    std::u16string error;
};

class TFrmFindAll : public ui::TForm {
  public:
    explicit TFrmFindAll(HWND owner);
    ~TFrmFindAll() override;

    std::u16string Needle() const { return edtFind->Text(); }
    SearchOptions Options() const;
    void SetSearch(const std::u16string& needle, bool matchCase, bool wholeWord);
    // Lists the matches of the text in the box: the sources' files are read in this order.
    void Start(std::vector<FindAllSource> sources);
    // Stops a running search; the rows found so far stay.
    void Stop();
    bool Running() const { return worker_.joinable(); }
    // Waits until the running search has ended (tests).
    void WaitUntilDone();
    const std::vector<FindAllRow>& Rows() const { return rows_; }

    std::function<void()> OnSearch;
    std::function<void(const FindAllRow&)> OnGoTo;

    // Controls, in creation order.
    ui::TPanel* pnlTop;
    ui::TLabel* lblFind;
    ui::TEdit* edtFind;
    ui::TCheckBox *chkMatchCase, *chkWholeWord;
    ui::TButton* btnFind;
    ui::TPanel* pnlBottom;
    ui::TLabel* lblProgress;
    ui::TButton* btnStop;
    ui::TListView* lstResults;
    ui::TTimer* tmrProgress;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Run(std::vector<FindAllSource> sources, std::u16string needle, SearchOptions options);
    // Moves what the worker found into the list.
    void TakeFound();
    void Finished();
    void ShowProgress();

    std::vector<FindAllRow> rows_;
    std::thread worker_;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> filesDone_{0};
    size_t filesTotal_ = 0;
    bool stopped_ = false;
    std::mutex mutex_;
    std::vector<FindAllRow> found_;
    bool workerDone_ = false;
};

} // namespace vp

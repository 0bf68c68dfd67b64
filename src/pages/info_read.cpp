// Data Info and User Info rows read beside the window, one location at a time per job.
#include "pages/info_read.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <utility>

#include "core/common/program_texts.h"
#include "kit/app_state.h"
#include "kit/list_view.h"
#include "kit/long_read.h"

namespace
{

constexpr UINT kMessageInfoPiece = WM_APP + 4;
constexpr UINT_PTR kGraceTimer = 3;

// What a location's job hands back, with the location it is for.
struct PieceDone final : WorkResult {
    int life = 0;
    std::string key;
    std::unique_ptr<InfoPiece> piece;
};

// The list made anew from what every location of the refresh gave last; the selection stays on
// its row. Without memory for it the list stays as it was.
void ShowGiven(HWND page, InfoRead& read)
{
    std::vector<const InfoPiece*> pieces;
    std::vector<std::unique_ptr<ListRow>> rows;
    try {
        for (const std::string& key : read.keys) {
            const auto found = read.given.find(key);
            pieces.push_back(found != read.given.end() ? found->second.get() : nullptr);
        }
        rows = read.compose(pieces);
    } catch (const std::bad_alloc&) {
        SetStatusText(kOutOfMemory);
        return;
    }
    const HWND list = GetDlgItem(page, read.listId);
    const int selected = BeginListRefill(list);
    for (std::unique_ptr<ListRow>& row : rows)
        InsertOwnedRow(list, -1, std::move(row));
    FinishListRefill(list, selected);
    if (read.shown)
        read.shown(page);
}

// The last message of the locations that answered, in location order; running out of memory wins.
void ShowMessages(const InfoRead& read, const std::set<std::string>& answered)
{
    std::string last;
    bool outOfMemory = false;
    for (const std::string& key : read.keys) {
        const auto found = read.given.find(key);
        if (!answered.count(key) || found == read.given.end())
            continue;
        const InfoPiece& piece = *found->second;
        outOfMemory = outOfMemory || piece.outOfMemory;
        if (piece.status.Count() > 0)
            last = piece.status.Text();
    }
    if (outOfMemory)
        SetStatusText(kOutOfMemory);
    else if (!last.empty())
        SetStatusText(last);
}

// "Waiting for Home" while reads are out, put up at a refresh's end; the text goes with the last
// of them, and a message another part of the program wrote meanwhile stays.
void ShowWaiting(InfoRead& read, bool refreshEnd)
{
    const std::string text = read.out.WaitingText();
    const bool stillShown = !read.waitingText.empty() && CurrentStatusText() == read.waitingText;
    if (text.empty()) {
        if (stillShown)
            SetStatusText("");
        read.waitingText.clear();
    } else if (refreshEnd || stillShown) {
        SetStatusText(text);
        read.waitingText = text;
    }
}

// The refresh ends: what answered is shown, then whom it still waits for, then the refresh asked
// for meanwhile.
void EndRefresh(HWND page, InfoRead& read)
{
    KillTimer(page, kGraceTimer);
    ShowGiven(page, read);
    ShowMessages(read, read.fresh);
    ShowWaiting(read, true);
    read.settling = false;
    read.fresh.clear();
    read.awaited.clear();
    if (std::exchange(read.again, false))
        read.refresh();
}

void OnPiece(HWND page, InfoRead& read, LPARAM lParam)
{
    std::unique_ptr<WorkResult> taken = TakeWorkResult(lParam);
    auto* done = dynamic_cast<PieceDone*>(taken.get());
    if (!done || done->life != read.life)
        return; // a read that came back to an earlier life of the page
    read.out.Finish(done->key);
    std::shared_ptr<InfoPiece> piece = std::move(done->piece);
    if (!piece || done->failed) {
        piece = std::make_shared<InfoPiece>();
        piece->outOfMemory = true;
    }
    read.given[done->key] = std::move(piece);
    if (read.settling) {
        read.fresh.insert(done->key);
        read.awaited.erase(done->key);
        if (read.awaited.empty())
            EndRefresh(page, read);
        return;
    }
    // A late read is shown as a refresh would show it.
    ShowGiven(page, read);
    ShowMessages(read, {done->key});
    ShowWaiting(read, false);
}

} // namespace

bool StartInfoRead(HWND page, InfoRead& read, std::vector<InfoLocation> locations)
{
    if (read.settling) {
        read.again = true;
        return false;
    }
    read.keys.clear();
    for (const InfoLocation& location : locations)
        read.keys.push_back(location.key);
    // What a location no longer listed gave is forgotten, unless its read is still out.
    for (auto given = read.given.begin(); given != read.given.end();) {
        const bool listed = std::find(read.keys.begin(), read.keys.end(), given->first) != read.keys.end();
        given = listed || read.out.IsOut(given->first) ? std::next(given) : read.given.erase(given);
    }
    // Without memory to start a read the refresh starts no more, says so and ends with those out.
    try {
        for (InfoLocation& location : locations) {
            if (read.out.IsOut(location.key))
                continue; // its read is out: it is shown when it comes back
            auto done = std::make_unique<PieceDone>();
            done->life = read.life;
            done->key = location.key;
            if (!RunBeside(page, kMessageInfoPiece, std::move(done),
                           [reader = std::move(location.read)](PieceDone& made) { made.piece = reader(); }))
                continue;
            read.out.Start(location.key, location.name);
            read.awaited.insert(location.key);
        }
    } catch (const std::bad_alloc&) {
        SetStatusText(kOutOfMemory);
    }
    read.settling = true;
    if (read.awaited.empty())
        EndRefresh(page, read);
    else
        SetTimer(page, kGraceTimer, kReadGraceMilliseconds, nullptr);
    return true;
}

bool OnInfoReadMessage(HWND page, InfoRead& read, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kGraceTimer) {
        if (read.settling)
            EndRefresh(page, read);
        else
            KillTimer(page, kGraceTimer);
        return true;
    }
    if (message != kMessageInfoPiece)
        return false;
    OnPiece(page, read, lParam);
    return true;
}

bool InfoReadOut(const InfoRead& read)
{
    return read.settling || !read.out.Empty();
}

void ForgetInfoRead(HWND page, InfoRead& read)
{
    KillTimer(page, kGraceTimer);
    ++read.life;
    read.settling = false;
    read.again = false;
    read.keys.clear();
    read.awaited.clear();
    read.fresh.clear();
    read.out = ReadsOut();
    read.given.clear();
    read.waitingText.clear();
}

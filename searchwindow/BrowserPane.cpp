#include "searchwindow/BrowserPane.h"

#include <wininet.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "runtime/Application.h"

namespace {
// A multi-line read-only edit for the page text.
class TTextView : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& p) override {
        TEdit::CreateParams(p);
        p.Style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL;
        p.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    }
};

std::string FilePath(const std::string& address) {
    std::string p = address.substr(7);
    if (p.size() > 2 && p[0] == '/' && p[2] == ':') p.erase(0, 1);  // file:///C:/...
    return p;
}
}  // namespace

TBrowserPane::TBrowserPane(TWinControl* parent) : TPanel(parent) {
    BevelOuter = bvLowered;
    title_ = new TLabel(this);
    title_->Font().SetStyle(fsBold);
    text_ = new TTextView(this);
    text_->SetReadOnly(true);
    // The columns come with the first page: a message to the list here would
    // make the window's handles from inside the constructor, and the form
    // would make this pane's window a second time (the first one, left
    // behind, then asks to be painted for ever and starves the timers).
    links_ = new TListViewBox(this, LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
    links_->OnNotify = [this](NMHDR* h, LRESULT&) {
        if (h->code == NM_DBLCLK) {
            const int i = links_->Selected();
            if (i >= 0) FollowLink(static_cast<size_t>(i));
            return true;
        }
        return false;
    };
}

void TBrowserPane::Resized() {
    const int w = ClientWidth(), h = ClientHeight();
    const int linksHeight = h / 3;
    title_->SetBounds(4, 2, w - 8, 18);
    text_->SetBounds(2, 22, w - 4, h > 30 + linksHeight ? h - 26 - linksHeight : 0);
    links_->SetBounds(2, h - linksHeight - 2, w - 4, linksHeight > 0 ? linksHeight : 0);
    TPanel::Resized();
}

// One load's state, shared by the pane and the thread that fetches: the pane
// may stop it, or be gone, before the thread ends.
struct BrowserFetchJob {
    std::mutex Lock;
    HINTERNET Net = nullptr;
    std::atomic<bool> Cancelled{false};
    std::atomic<bool> Done{false};
    bool Ok = false;
    std::string Bytes;
    void Cancel() {
        std::lock_guard<std::mutex> g(Lock);
        Cancelled = true;
        // Closing the session handle ends a request blocked in it.
        if (Net) InternetCloseHandle(Net);
        Net = nullptr;
    }
};

namespace {
bool BrowserFetchFile(const std::string& address, std::string& bytes) {
    std::ifstream f(FilePath(address), std::ios::binary);
    if (!f) return false;
    // A readable page, not a whole disk file: at most kMaxPageBytes.
    char buf[8192];
    while (bytes.size() < TBrowserPane::kMaxPageBytes && f.read(buf, sizeof buf).gcount() > 0)
        bytes.append(buf, static_cast<size_t>(f.gcount()));
    if (bytes.size() > TBrowserPane::kMaxPageBytes) bytes.resize(TBrowserPane::kMaxPageBytes);
    return true;
}

void BrowserFetchUrl(BrowserFetchJob& job, const std::string& address, unsigned long timeoutMs) {
    HINTERNET net = InternetOpenA("Sablefind", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!net) return;
    DWORD timeout = timeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
        InternetSetOptionA(net, option, &timeout, sizeof timeout);
    {
        std::lock_guard<std::mutex> g(job.Lock);
        if (job.Cancelled) {
            InternetCloseHandle(net);
            return;
        }
        job.Net = net;
    }
    HINTERNET url = InternetOpenUrlA(net, address.c_str(), nullptr, 0,
                                     INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    bool ok = url != nullptr;
    char buf[8192];
    DWORD got = 0;
    std::string bytes;
    while (ok && InternetReadFile(url, buf, sizeof buf, &got) && got > 0) {
        bytes.append(buf, got);
        if (bytes.size() > TBrowserPane::kMaxPageBytes) break;  // a readable page, not a download
    }
    if (url) InternetCloseHandle(url);
    std::lock_guard<std::mutex> g(job.Lock);
    if (job.Net) InternetCloseHandle(job.Net);
    job.Net = nullptr;
    job.Ok = ok && !job.Cancelled;
    job.Bytes = std::move(bytes);
}
}  // namespace

bool TBrowserPane::Fetch(const std::string& address, std::string& bytes) {
    bytes.clear();
    if (address.compare(0, 7, "file://") == 0) return BrowserFetchFile(address, bytes);
    BrowserFetchJob job;
    BrowserFetchUrl(job, address, kLoadTimeoutMs);
    bytes = std::move(job.Bytes);
    return job.Ok;
}

void TBrowserPane::Stop() {
    if (job_) job_->Cancel();
}

TBrowserPane::~TBrowserPane() {
    *alive_ = false;
    Stop();
}

bool TBrowserPane::FetchWaiting(const std::string& address, std::string& bytes, bool& superseded) {
    superseded = false;
    bytes.clear();
    if (address.compare(0, 7, "file://") == 0) {
        // An http load still waiting is superseded: it must not replace this page when it ends.
        Stop();
        job_.reset();
        return BrowserFetchFile(address, bytes);
    }
    // Fetched on a thread while this one pumps messages: Stop (and a newer
    // load) can end it, and a server that stalls ends it at the time-out.
    Stop();
    auto job = std::make_shared<BrowserFetchJob>();
    job_ = job;
    const unsigned long timeout = LoadTimeoutMs;
    std::thread([job, address, timeout] {
        BrowserFetchUrl(*job, address, timeout);
        job->Done = true;
    }).detach();
    const std::shared_ptr<bool> alive = alive_;
    // A request blocked in the platform does not always end when its handle
    // is closed: a stopped load is left to its thread, which ends on its own.
    const DWORD started = GetTickCount();
    while (!job->Done && !job->Cancelled) {
        if (GetTickCount() - started > timeout) job->Cancel();  // no answer, or a trickle
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
        if (!*alive) {
            superseded = true;  // the pane went while its page loaded
            job->Cancel();
            return false;
        }
    }
    if (job_ != job) {
        superseded = true;
        return false;
    }
    job_.reset();
    if (!job->Done) return false;
    std::lock_guard<std::mutex> g(job->Lock);
    bytes = std::move(job->Bytes);
    return job->Ok;
}

bool TBrowserPane::Load(const std::string& address) {
    bool cancel = false;
    if (OnBeforeNavigate) OnBeforeNavigate(address, cancel);
    if (cancel) return false;
    std::string bytes;
    bool superseded = false;
    const bool fetched = FetchWaiting(address, bytes, superseded);
    if (superseded) return false;
    if (!fetched) {
        page_ = ReadablePage{};
        page_.Title = address;
        page_.Text = "The page cannot be shown.";
    } else {
        page_ = ParsePage(bytes, address);
        if (page_.Title.empty()) page_.Title = address;
    }
    title_->SetCaption(page_.Title);
    text_->SetText(page_.Text);
    links_->Clear();
    if (!columns_) {
        links_->AddColumn("Link", 220);
        links_->AddColumn("Address", 400);
        columns_ = true;
    }
    for (size_t i = 0; i < page_.Links.size(); ++i) {
        links_->Insert(static_cast<int>(i), page_.Links[i].Text, -1, static_cast<LPARAM>(i));
        links_->SetText(static_cast<int>(i), 1, page_.Links[i].Address);
    }
    if (OnNavigateComplete) OnNavigateComplete(address);
    return true;
}

void TBrowserPane::Navigate(const std::string& address) {
    if (address.empty()) return;
    if (Load(address)) history_.Visit(address);
}

void TBrowserPane::GoBack() {
    if (history_.CanGoBack()) Load(history_.Back());
}

void TBrowserPane::GoForward() {
    if (history_.CanGoForward()) Load(history_.Forward());
}

void TBrowserPane::Refresh() {
    if (!history_.Current().empty()) Load(history_.Current());
}

void TBrowserPane::FollowLink(size_t i) {
    if (i >= page_.Links.size()) return;
    const std::string address = page_.Links[i].Address;  // loading replaces page_
    Navigate(address);
}

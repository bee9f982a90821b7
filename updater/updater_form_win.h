// The updater's one window: what is being fetched, a progress bar and the
// size downloaded so far. The steps run on a worker; the window hears of
// them by messages and shows the one box a failure ends with.
#pragma once

#include "toolkit/forms.h"
#include "toolkit/labels.h"
#include "toolkit/range_controls.h"
#include "updater/update_steps.h"

#include <cstdint>
#include <string>
#include <thread>

namespace qh {

class TUpdaterForm : public TForm {
    QH_CLASS(TUpdaterForm, TForm)
    TUpdaterForm(TComponent* owner, std::string installFolder);
    ~TUpdaterForm() override;

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;

    // Starts the steps once the window shows.
    void FormShow(TObject* sender);
    bool Succeeded() const { return FSucceeded; }

protected:
    void WndProc(TMessage& message) override;

private:
    void Run();

    std::string FInstallFolder;
    std::thread FWorker;
    bool FSucceeded = false;
};

// Byte counts as the window shows them ("1.5 MB").
std::string SizeText(int64_t bytes);

} // namespace qh

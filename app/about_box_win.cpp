#include "app/about_box_win.h"

#include "app/about_text.h"
#include "app/open_address_win.h"
#include "app/program_addresses.h"
#include "core/gbk.h"
#include "core/string_list.h"

#include <algorithm>
#include <memory>

#include "toolkit/application.h"
#include "toolkit/canvas.h"
#include "toolkit/win_handle.h"

namespace qh {

QH_DEFINE_CLASS(TAboutBox, TForm)

std::string AboutSiteAddress() {
    return SiteHomePage();
}

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
    BeginLoading();
    SetCaption(kAboutCaption);
    SetBorderStyle(bsDialog);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(360, 227);
    Font()->SetName("宋体");
    Font()->SetCharset(GB2312_CHARSET);
    Font()->SetHeight(-12);

    OKButton = new TButton(this);
    OKButton->SetName("OKButton");
    OKButton->SetParent(this);
    OKButton->SetBounds(270, 185, 75, 25);
    OKButton->SetCaption("OK");
    OKButton->SetDefault(true);
    OKButton->SetCancel(true);
    OKButton->SetModalResult(mrOk);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetBounds(24, 184, 144, 12);
    Label1->SetCaption(kAboutMoreInfo);

    Label2 = new TLabel(this);
    Label2->SetName("Label2");
    Label2->SetParent(this);
    Label2->SetBounds(24, 200, 138, 12);
    Label2->SetCursor(crHandPoint);
    Label2->OnClick = [this](TObject* sender) { Label2Click(sender); };

    Memo1 = new TMemo(this);
    Memo1->SetName("Memo1");
    Memo1->SetParent(this);
    Memo1->SetBounds(12, 16, 337, 161);
    Memo1->SetCtl3D(false);
    Memo1->SetScrollBars(ssVertical);
    TStringList lines;
    for (const std::string& line : AboutDescriptionLines())
        lines.Add(line);
    Memo1->SetLines(lines);
    LayOutAddress(AboutSiteAddress());
    EndLoading();
}

void TAboutBox::LayOutAddress(const std::string& address) {
    constexpr int kDesignWidth = 360, kLabelWidth = 138, kGap = 8;
    constexpr int kOkLeft = 270, kMemoWidth = 337;
    Label2->SetCaption(address);
    int textWidth = 0;
    {
        TWindowDC screen(nullptr);
        TCanvas canvas(screen.Get());
        canvas.Font().Assign(*Label2->Font());
        textWidth = canvas.TextExtent(GbkToWide(address)).cx;
    }
    Label2->SetWidth(std::max(kLabelWidth, textWidth));
    const int wider = std::max(0, Label2->Left() + Label2->Width() + kGap - kOkLeft);
    SetClientSize(kDesignWidth + wider, ClientHeight());
    OKButton->SetLeft(kOkLeft + wider);
    Memo1->SetWidth(kMemoWidth + wider);
}

void TAboutBox::Label2Click(TObject*) {
    // The dialog stays open, whether a browser took the address or not.
    OpenAddress(Handle(), GbkToWide(AboutSiteAddress()));
}

void ShowAboutBox() {
    // A new dialog each time: what was typed into the text is gone.
    std::unique_ptr<TAboutBox> box(new TAboutBox(Application));
    box->ShowModal();
}

} // namespace qh

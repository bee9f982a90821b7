// The about dialog: the product description, the site's address as a link,
// and OK, which Enter and Escape press too.
#pragma once

#include <string>

#include "toolkit/buttons.h"
#include "toolkit/edits.h"
#include "toolkit/forms.h"
#include "toolkit/labels.h"

namespace qh {

class TAboutBox : public TForm {
    QH_CLASS(TAboutBox, TForm)
    explicit TAboutBox(TComponent* owner);

    TButton* OKButton = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TMemo* Memo1 = nullptr;

    void Label2Click(TObject* sender);
    // Shows the address whole: the label takes its text's width, and the
    // box widens when the text would run under the OK button.
    void LayOutAddress(const std::string& address);
};

// The site's home page, as the label shows it and its click opens it.
std::string AboutSiteAddress();

// Creates the dialog, shows it modally and frees it afterwards, also when
// showing fails.
void ShowAboutBox();

} // namespace qh

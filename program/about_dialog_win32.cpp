#include "program/about_dialog_win32.h"

#include <string>

#include "app/maker_site.h"
#include "app/version.h"
#include "platform/application_title_win32.h"
#include "resources/dialog_ids.h"
#include "ui/reflected_colour_win32.h"

namespace {

const char kBuildDate[] = "November 13, 2001";
const COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

AboutDialog::AboutDialog(HWND parent) : CMyDialog(IDD_ABOUT, parent) {}

bool AboutDialog::OnInitDialog() {
    CMyDialog::OnInitDialog();
    webLink_.SubclassDlgItem(IDC_ABOUT_WEB, hwnd_);
    mailLink_.SubclassDlgItem(IDC_ABOUT_MAIL, hwnd_);

    const std::string title = std::string(ApplicationTitle().Text()) + " " + kProgramVersion;
    SetItemText(IDC_ABOUT_TITLE, title.c_str());
    SetItemText(IDC_ABOUT_DATE, kBuildDate);
    SetItemText(IDC_ABOUT_MAIL, kMakerMailAddress);
    SetItemText(IDC_ABOUT_WEB, kMakerWebAddress);

    webLink_.SetURL(kMakerWebAddress);
    CHyperLink::SetColours(kBlue, kBlue, kBlue, kBlue);
    mailLink_.SetURL((std::string("mailto:") + kMakerMailAddress).c_str());
    CHyperLink::SetColours(kBlue, kBlue, kBlue, kBlue);
    return true;
}

INT_PTR AboutDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR brush = 0;
    if (ReflectControlColour(message, wParam, lParam, brush)) return brush;
    return CMyDialog::WindowProc(message, wParam, lParam);
}

void ShowAboutDialog(HWND parent) {
    AboutDialog dialog(parent);
    dialog.DoModal();
}

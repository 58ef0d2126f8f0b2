/* Template and control IDs of the About dialog and the settings page. Only #defines:
   windres reads this file too.

   The settings page's check boxes share their IDs with their tooltip strings
   (string_ids.h, IDS_TIP_*): a control's tooltip is the string with its ID. */
#ifndef VORLIX_RESOURCES_DIALOG_IDS_H
#define VORLIX_RESOURCES_DIALOG_IDS_H

/* About dialog */
#define IDD_ABOUT                 100
#define IDI_ABOUT_PROGRAM         128  /* the program icon of vorlix.rc */
#define IDC_ABOUT_TITLE           1008
#define IDC_ABOUT_DATE            1009
#define IDC_ABOUT_MAIL            1010
#define IDC_ABOUT_WEB             1011
/* The licence line under the addresses (a fixed text of the template). */
#define IDC_ABOUT_LICENCE         1012

/* Settings page "General" */
#define IDD_SETTINGS_GENERAL      147
#define IDC_SETTINGS_USE_DRIVE_B  1029
#define IDC_SETTINGS_REGISTER_IMG 1030
#define IDC_SETTINGS_EMERGENCY    1031
#define IDC_SETTINGS_SUPPRESS     1032
#define IDC_SETTINGS_SOUND        1033
#define IDC_SETTINGS_COMPATIBLE   1034
#define IDC_SETTINGS_REGISTER_IMZ 1035
#define IDC_SETTINGS_WINDOW_FX    1036
#define IDC_SETTINGS_VERIFY       1037
/* Under the emergency box: how often a sector is tried again (a list of 0 to 20). */
#define IDC_SETTINGS_RETRIES      1038
#define IDC_SETTINGS_WRITE_LOG    1039

#endif

/* Template and control IDs of the three online dialogs. Only #defines: windres reads
   this file too. */
#ifndef VORLIX_RESOURCES_ONLINE_DIALOG_IDS_H
#define VORLIX_RESOURCES_ONLINE_DIALOG_IDS_H

#define IDD_UPDATE_CHECK          131
#define IDD_FEEDBACK              138
#define IDD_MESSAGE               142

/* Shared by all three: the status line and, at its place, the link that replaces it */
#define IDC_ONLINE_STATUS         1003
#define IDC_ONLINE_LINK           1004

#define IDC_UPDATE_HISTORY        1011
#define IDC_MESSAGE_TEXT          1026

#define IDC_FEEDBACK_EMAIL        1013
#define IDC_FEEDBACK_COMMENT      1014
#define IDC_FEEDBACK_ABOUT        1016
#define IDC_FEEDBACK_PROBLEM      1018
#define IDC_FEEDBACK_USED         1019
#define IDC_FEEDBACK_SUBMIT       1023

#endif

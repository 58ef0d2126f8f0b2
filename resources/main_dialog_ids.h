/* Resource and control IDs of the main dialog, the progress dialog, the command-line
   help and the file-dialog extensions. Only #defines: windres reads this file too. */
#ifndef VORLIX_RESOURCES_MAIN_DIALOG_IDS_H
#define VORLIX_RESOURCES_MAIN_DIALOG_IDS_H

/* Templates and other resources */
#define IDD_MAIN                    102
#define IDD_PROGRESS                130
#define IDD_COMMAND_LINE_HELP       145
#define IDD_OPEN_PREVIEW            152  /* newer file dialogs (NT 5 and later, Me) */
#define IDD_OPEN_PREVIEW_OLD        153  /* older file dialogs */
#define IDR_MAIN_MENU               128
#define IDI_MAIN                    128
#define IDB_READ_FLOPPY             143
#define IDB_WRITE_FLOPPY            144
#define IDR_COMPLETION_SOUND        149

/* Main dialog */
#define IDC_READ_PATH               1000
#define IDC_READ_BROWSE             1001
#define IDC_READ_START              1004
#define IDC_READ_DESCRIPTION        1028
#define IDC_WRITE_PATH              1005
#define IDC_WRITE_BROWSE            1006
#define IDC_WRITE_START             1007
#define IDC_WRITE_DESCRIPTION       1027
#define IDC_WRITE_FORMAT            1046
#define IDC_READ_SEVERAL            1045  /* a batch of disks into the names of the Read path */

/* Menu commands */
#define ID_APP_EXIT                 57665
#define ID_APP_ABOUT                57664
#define ID_SETTINGS                 32774
#define ID_COMMAND_LINE_HELP        32775
#define ID_FEEDBACK                 32772
#define ID_COMMUNICATOR             32773
#define ID_CHECK_FOR_UPDATES        32771
#define ID_CHECK_IMAGE              32776
#define ID_CONVERT_IMAGE            32777

/* Progress dialog */
#define IDC_PROGRESS_BAR            1003
#define IDC_PROGRESS_STATUS         1005
#define IDC_PROGRESS_COUNT          1006

/* File-dialog extension */
#define IDC_PREVIEW_VALUE           1043
#define IDC_PREVIEW_LABEL           1044

/* A disk's files: the contents dialog and New Image from Folder */
#define IDD_CONTENTS                154
#define IDD_NEW_IMAGE               155
#define ID_SHOW_CONTENTS            32778
#define ID_NEW_IMAGE_FROM_FOLDER    32779
#define IDC_CONTENTS_VOLUME         1050
#define IDC_CONTENTS_LIST           1051
#define IDC_CONTENTS_EXTRACT        1052
#define IDC_NEW_IMAGE_FOLDER        1053
#define IDC_NEW_IMAGE_FOLDER_BROWSE 1054
#define IDC_NEW_IMAGE_FORMAT        1055
#define IDC_NEW_IMAGE_DESCRIPTION   1056
#define IDC_NEW_IMAGE_PATH          1057
#define IDC_NEW_IMAGE_PATH_BROWSE   1058

#endif

/* Resources of the dialog-framework tests. IDs stay in 9000-9299: the string table
   blocks used here (9088-9119) are nobody else's. Only #defines: windres reads this. */
#ifndef VORLIX_TESTS_TEST_DIALOGS_H
#define VORLIX_TESTS_TEST_DIALOGS_H

#define IDD_TEST_PLAIN        9001  /* tooltip strings for two of its controls */
#define IDD_TEST_NO_TIPS      9002  /* accepts dropped files, no tooltip strings */
#define IDD_TEST_PAGE         9003  /* a property page, one control with a string */
#define IDD_TEST_PAGE_TWO     9004

#define IDC_TEST_EDIT         9101
#define IDC_TEST_BUTTON       9102  /* has a string */
#define IDC_TEST_CHECK        9103
#define IDC_TEST_COMBO        9104  /* has a string; its edit is a grandchild */
#define IDC_TEST_PAGE_CHECK   9105  /* has a string */
#define IDC_TEST_PAGE_EDIT    9106
#define IDC_TEST_OTHER_EDIT   9201
#define IDC_TEST_OTHER_BUTTON 9202

#endif

/* Resources of the hyperlink tests. IDs stay in 9300-9399 and no strings are defined:
   the string blocks of the other scripts linked into the test program stay theirs.
   Only #defines: windres reads this. */
#ifndef VORLIX_TESTS_LINK_TEST_DIALOGS_H
#define VORLIX_TESTS_LINK_TEST_DIALOGS_H

#define IDD_LINK_TEST          9301

#define IDC_LINK_LEFT          9311  /* left-aligned, text is an address */
#define IDC_LINK_CENTRE        9312  /* SS_CENTER */
#define IDC_LINK_RIGHT         9313  /* SS_RIGHT */
#define IDC_LINK_MIDDLE        9314  /* SS_CENTERIMAGE, taller than its text */
#define IDC_LINK_EMPTY         9315  /* no text */
#define IDC_LINK_TAB           9316  /* a tab stop after the button */
#define IDC_LINK_BUTTON        9320

#endif

/* Resource IDs of the restorer stub. Its string numbers are its own and differ from the
   main program's; stub/stub_messages.cpp maps the shared jobs' messages onto them.
   Only #defines: windres reads this file too. */
#ifndef VORLIX_RESOURCES_STUB_IDS_H
#define VORLIX_RESOURCES_STUB_IDS_H

#define IDD_STUB_RESTORE              102
#define IDD_STUB_PROGRESS             129
#define IDI_STUB                      128

#define IDC_STUB_CREATE_FLOPPY        1000
#define IDC_STUB_PROGRESS_BAR         1001
#define IDC_STUB_PROGRESS_COUNT       1002
#define IDC_STUB_PROGRESS_STATUS      1003
#define IDC_STUB_DESCRIPTION          1004

#define IDS_STUB_CANCELLED            1
#define IDS_STUB_UNABLE_TO_OPEN       2
#define IDS_STUB_UNKNOWN_FLOPPY_TYPE  3
#define IDS_STUB_IMAGE_READ_FAILED    4
#define IDS_STUB_SECTOR_WRITE_FAILED  5
#define IDS_STUB_WRITING_FLOPPY       6
#define IDS_STUB_WRITE_PROTECTED      7
#define IDS_STUB_COPY_TO_HARDDRIVE    8
#define IDS_STUB_ASK_OVERWRITE        9
#define IDS_STUB_KB_COPIED            10
#define IDS_STUB_EXE_HAS_NO_IMAGE     11
#define IDS_STUB_NEEDS_OTHER_DENSITY  12
#define IDS_STUB_NEEDS_OTHER_FORMAT   13
#define IDS_STUB_SUCCESS              14
#define IDS_STUB_IMAGE_NOT_WHOLE_DISK 15
#define IDS_STUB_FLOPPY_IN_USE        16
#define IDS_STUB_IMAGE_CHECKSUM_MISMATCH 17
#define IDS_STUB_VERIFY_MISMATCH      18
#define IDS_STUB_VERIFYING_FLOPPY     19
#define IDS_STUB_NEWER_IMAGE_VERSION  20
#define IDS_STUB_DRIVE_NOT_READY      21
#define IDS_STUB_IMAGE_TOO_LARGE      22
#define IDS_STUB_APP_TITLE            57344
#define IDS_STUB_CANNOT_OPEN_IMAGE    57345

#endif

/* String-table IDs of the main program, shared by the resource script and the code.
   Only #defines: windres reads this file too. */
#ifndef VORLIX_RESOURCES_STRING_IDS_H
#define VORLIX_RESOURCES_STRING_IDS_H

#define IDS_APP_TITLE                        57344

/* Image files */
#define IDS_NEWER_IMAGE_VERSION              57666
#define IDS_EXE_HAS_NO_IMAGE                 57669
#define IDS_CANNOT_OPEN_PROGRAM_FILE         57681

/* Floppy types */
#define IDS_UNKNOWN_FLOPPY_TYPE              57667
#define IDS_DISK_NEEDS_OTHER_DENSITY         57674
#define IDS_DISK_NEEDS_OTHER_FORMAT          57675

/* Jobs */
#define IDS_UNABLE_TO_CREATE                 105
#define IDS_UNABLE_TO_OPEN                   106
#define IDS_SECTOR_WRITE_FAILED              118
#define IDS_SECTOR_READ_FAILED               119
#define IDS_IMAGE_WRITE_FAILED               121
#define IDS_IMAGE_READ_FAILED                122
#define IDS_WRITE_PROTECTED                  57668
#define IDS_SECTOR_WRITE_FAILED_NO_TRAILER   57676

/* Start-up */
#define IDS_ASK_REGISTER_TYPES               57679

/* Start checks */
#define IDS_ONLY_IMG_IMZ_READABLE            57673
#define IDS_ONLY_IMG_IMZ_EXE_CREATABLE       120

#endif

/* String-table IDs of the main program, shared by the resource script and the code.
   Only #defines: windres reads this file too.

   A control whose ID has a string gets that string as its tooltip, so no ID here may
   equal a control ID except the settings page's tooltips (1029-1038). */
#ifndef VORLIX_RESOURCES_STRING_IDS_H
#define VORLIX_RESOURCES_STRING_IDS_H

#define IDS_APP_TITLE                        57344

/* Image files */
#define IDS_NEWER_IMAGE_VERSION              57666
#define IDS_EXE_HAS_NO_IMAGE                 57669
#define IDS_CANNOT_OPEN_PROGRAM_FILE         57681

/* Checking and converting an image without a drive */
#define IDS_IMAGE_CHECK_REPORT               57700
#define IDS_CHECK_KIND_RAW                   57701
#define IDS_CHECK_KIND_COMPRESSED            57702
#define IDS_CHECK_KIND_SELF_EXTRACTING       57703
#define IDS_CHECK_FORMAT                     57704
#define IDS_CHECK_DESCRIPTION                57705
#define IDS_CHECK_NO_DESCRIPTION             57706
#define IDS_CHECK_DATA_SIZE                  57707
#define IDS_CHECK_SHA256                     57708
#define IDS_CHECK_CHECKSUM_MATCHES           57709
#define IDS_CHECK_NO_CHECKSUM                57710
#define IDS_NOT_AN_IMAGE_FILE                57711
#define IDS_CONVERT_ONTO_SOURCE              57712

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
#define IDS_IMAGE_NOT_WHOLE_DISK             125
#define IDS_FLOPPY_IN_USE                    126
#define IDS_IMAGE_CHECKSUM_MISMATCH          127
#define IDS_VERIFY_MISMATCH                  128
#define IDS_WRITE_PROTECTED                  57668
#define IDS_SECTOR_WRITE_FAILED_NO_TRAILER   57676
/* Recovering a failing disk: texts with more values than a template takes get the
   composed part as their %s (engine/job/rescue_text). */
#define IDS_SECTOR_READ_FAILED_AT            137
#define IDS_SECTORS_RECOVERED                138
/* A world that misbehaves: a medium that goes, another disk, an image that never ends */
#define IDS_DRIVE_NOT_READY                  141
#define IDS_NOT_THE_SAME_DISK                142
#define IDS_IMAGE_TOO_LARGE                  143
#define IDS_DISK_NEEDS_FORMAT                150
/* Other programs' ZIP archives: the one floppy-sized member, or why none is read */
#define IDS_ZIP_NO_IMAGE                     144
#define IDS_ZIP_SEVERAL_IMAGES               145
#define IDS_ZIP_ENCRYPTED                    146
#define IDS_ZIP_METHOD                       147
#define IDS_CHECK_KIND_ZIP                   148

/* Progress dialog */
#define IDS_READING_FLOPPY                   108
#define IDS_WRITING_FLOPPY                   109
#define IDS_VERIFYING_FLOPPY                 110
#define IDS_KB_COPIED                        57677
/* Recovering a failing disk */
#define IDS_READING_FLOPPY_BAD_SECTORS       140

/* Start-up */
#define IDS_ASK_REGISTER_TYPES               57679

/* Start checks */
#define IDS_ONLY_IMG_IMZ_READABLE            57673
#define IDS_ONLY_IMG_IMZ_EXE_CREATABLE       120
#define IDS_OPERATION_CANCELLED              102
#define IDS_ASK_REPLACE_EXISTING             103
#define IDS_TARGET_READ_ONLY                 123
/* The decompressor would not open on an image: the main program says "Unable to open"
   as for the file itself; the restorer stub tells the two apart. */
#define IDS_DECOMPRESSOR_NOT_OPENED          124
#define IDS_ASK_OVERWRITE_FLOPPY             57670
#define IDS_CANNOT_SAVE_TO_SOURCE_FLOPPY     57671
#define IDS_COPY_IMAGE_TO_HARDDRIVE          57672
#define IDS_EMERGENCY_ONLY_IMG               57678
#define IDS_ASK_COMPATIBLE_NO_DESCRIPTION    57680
/* Recovering a failing disk */
#define IDS_ASK_REREAD_BAD_SECTORS           139

/* Settings page tooltips: each ID is its check box's control ID */
#define IDS_TIP_USE_DRIVE_B                  1029
#define IDS_TIP_REGISTER_IMG                 1030
#define IDS_TIP_EMERGENCY                    1031
#define IDS_TIP_SUPPRESS                     1032
#define IDS_TIP_SOUND                        1033
#define IDS_TIP_COMPATIBLE                   1034
#define IDS_TIP_REGISTER_IMZ                 1035
#define IDS_TIP_WINDOW_FX                    1036
#define IDS_TIP_VERIFY                       1037
/* Recovering a failing disk */
#define IDS_TIP_RETRIES                      1038

/* Reading a batch of disks, each with its log and manifest rows */
#define IDS_BATCH_INSERT_DISK                180
#define IDS_BATCH_NAME_TAKEN                 181
#define IDS_BATCH_DISK_FAILED                182
#define IDS_BATCH_NEXT_DISK                  183
#define IDS_BATCH_SUMMARY                    184
#define IDS_BATCH_NEEDS_NUMBER               185
#define IDS_BATCH_MANIFEST_FAILED            186
#define IDS_BATCH_PROGRESS_CAPTION           187
#define IDS_TIP_WRITE_LOG                    1039

/* Online dialogs */
#define IDS_NEEDS_NEWER_INTERNET_EXPLORER    201
#define IDS_NOT_CONNECTED                    202
#define IDS_STATUS_CONNECTING                203
#define IDS_STATUS_SERVER_NOT_RESOLVED       204
#define IDS_STATUS_TRANSFER_FAILED           205
#define IDS_STATUS_NO_UPDATE                 206
#define IDS_VERSION_AVAILABLE                207
#define IDS_STATUS_CONNECTED                 208

/* Links that cannot be opened, by the shell's error code */
#define IDS_LINK_OUT_OF_RESOURCES            210
#define IDS_LINK_FILE_NOT_FOUND              211
#define IDS_LINK_PATH_NOT_FOUND              212
#define IDS_LINK_ACCESS_DENIED               213
#define IDS_LINK_OUT_OF_MEMORY               214
#define IDS_LINK_BAD_EXE                     215
#define IDS_LINK_SHARING_VIOLATION           216
#define IDS_LINK_ASSOCIATION_INCOMPLETE      217
#define IDS_LINK_DDE_TIMEOUT                 218
#define IDS_LINK_DDE_FAILED                  219
#define IDS_LINK_DDE_BUSY                    220
#define IDS_LINK_NO_ASSOCIATION              221
#define IDS_LINK_DLL_NOT_FOUND               222
#define IDS_LINK_UNKNOWN_ERROR               223

#endif

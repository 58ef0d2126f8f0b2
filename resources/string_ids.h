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
/* The FAT volume on a disk: its listing, extracting its files, making one from a folder */
#define IDS_FAT_NO_VOLUME                    151
#define IDS_FAT_CHAIN_LOOPS                  152
#define IDS_FAT_CHAIN_CROSSED                153
#define IDS_FAT_CHAIN_OUTSIDE                154
#define IDS_FAT_CHAIN_SHORT                  155
#define IDS_FAT_FOLDER_LOOP                  156
#define IDS_FAT_BAD_SECTOR                   157
#define IDS_FAT_COPIES_DIFFER                158
#define IDS_FAT_VOLUME_DAMAGED               159
#define IDS_EXTRACT_EXISTS                   160
#define IDS_EXTRACT_DAMAGED                  161
#define IDS_EXTRACT_FAILED                   162
#define IDS_EXTRACT_NOT_FOUND                163
#define IDS_EXTRACT_NO_FOLDER                164
#define IDS_MAKE_TOO_LARGE                   165
#define IDS_MAKE_ROOT_FULL                   166
#define IDS_MAKE_BAD_NAME                    167
#define IDS_MAKE_BAD_LABEL                   168
#define IDS_MAKE_UNREADABLE                  169
#define IDS_MAKE_NOT_FOLDER                  170
#define IDS_MAKE_BAD_FORMAT                  171
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

/* Finding the floppy drives (terminal program) */
#define IDS_NO_FLOPPY_DRIVE                  224
#define IDS_NO_DRIVE_TO_USE                  225
#define IDS_SEVERAL_DRIVES                   226
#define IDS_DRIVE_CONTROLLER                 227
#define IDS_DRIVE_USB_FLOPPY                 228
#define IDS_DRIVE_REMOVABLE_DISK             229
#define IDS_MEDIUM_NONE                      230
#define IDS_MEDIUM_WRITE_PROTECTED           231
#define IDS_MEDIUM_UNKNOWN_FORMAT            232
#define IDS_MEDIUM_UNREADABLE                233

/* A disk's files in the program: contents dialog, extract, new image from a folder */
#define IDS_EXTRACT_DONE                     240
#define IDS_EXTRACT_CHOOSE_FOLDER            241
#define IDS_MAKE_CHOOSE_FOLDER               242
#define IDS_MAKE_NO_FOLDER                   243
#define IDS_MAKE_NO_IMAGE                    244

#endif

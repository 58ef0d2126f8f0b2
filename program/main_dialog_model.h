#pragma once
#include <functional>
#include <string>

#include "app/command_line.h"
#include "app/settings.h"
#include "engine/job/image_log.h"
#include "engine/job/job_start.h"
#include "program/folder_image.h"
#include "program/panel_state.h"
#include "program/start_checks.h"

// The main dialog without its window: the panels, the job fields and every operation
// that chooses an image or starts a job. The dialog reflects `panels` after each call.
class MainDialogModel {
public:
    MainDialogModel(Settings& settings, StartHost& host) : settings_(settings), host_(host) {}

    // Write browse, a drop, a hand-over: the extension check, the Write Floppy panel and
    // the image's description. -1 (panels unchanged) when the name is refused.
    int AcceptImageToWrite(const std::string& path);

    // Save browse: the extension check, the Read Floppy panel, the filter for next time.
    int AcceptReadTarget(const std::string& path);

    // The single image argument at start-up: like a write browse, and the file must open.
    int OpenImageArgument(const std::string& path);

    // One unattended job as the command line asks, and the process's exit status
    // (app/exit_status.h): -1 when its image is refused, 0 when the job finished, 1 when a
    // check, a question or the job itself stopped it, 2 when the user cancelled it. Sets
    // commandLineMode and the "/d" description.
    int RunCommandLine(const CommandLineRequest& request);

    // A read from the drive; with the setting "WriteLog" its log beside the image.
    int StartRead();

    // Several disks into the names of `pattern`, its one run of '#' the disk's number
    // (and of `description` where it has one), each image with its log and its rows in
    // "manifest.txt" beside it; a name already there is skipped and kept, a disk that
    // failed is offered again, and between disks the user is asked for the next one. As
    // StartRead: 0 when every disk offered was read, 1 when one failed or was skipped,
    // 2 when cancelled, -1 when the pattern was refused.
    int StartBatch(const std::string& pattern, const std::string& description);

    // File > Check Image: one message about the image, 0 good, 1 not.
    int CheckImage(const std::string& path);

    // File > Convert Image: a read into the Read Floppy panel's target, with its
    // description, whose sectors come from `source`. As StartRead; the next read reads the
    // drive again.
    int ConvertImage(const std::string& source);
    int StartWrite() { return ::StartWrite(fields, StartChoicesOf(settings_), host_); }

    // File > Show Contents without an image: the disk in the drive read into `image`, a
    // new raw image, as the Read Floppy panel's start reads; the panels stay as they are.
    // -1 when a check stopped it, else the read job's end.
    int ReadDiskInto(const std::string& image);

    // File > New Image from Folder and "/m": as StartRead, the sectors those of a new
    // disk holding the folder; the next read reads the drive again.
    int MakeImageFromFolder(const FolderImageRequest& request) {
        return ::MakeImageFromFolder(request, fields, StartChoicesOf(settings_), host_);
    }

    PanelState panels;
    JobFields fields;
    // Told the number of a batch's disk before its read, and 0 once the batch ends: the
    // progress window's caption says which disk it is.
    std::function<void(unsigned)> diskChanged;
    int saveFilterIndex = 1;

private:
    // Reads the trailer of the image to write: its description into the Write Floppy
    // panel when it has one, and the format the image needs as far as its file tells.
    void LoadImageTrailer(const std::string& path);
    // The read of `description` into fields.readImagePath, timed for its log.
    int ReadForPapers(const std::string& description, ImageLogFacts* facts);
    int WriteLogOf(const ImageLogFacts& facts);

    Settings& settings_;
    StartHost& host_;
};

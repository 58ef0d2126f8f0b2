#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "engine/fat/fat_volume.h"
#include "engine/fat/volume_image.h"
#include "platform/user_message.h"

// Where a volume to list or extract comes from: an image of any kind (LoadVolumeImage,
// which judges it as a write would), and the ddrescue map beside it. The same for every
// front end.

// Opens the volume on `disk` (which must outlive it): 0, or -1 told that `source` holds none.
int OpenFatVolume(FatVolume& volume, const DiskBytes& disk, bool withDeleted, const std::string& source,
                  MessageSink& sink);

// Marks damaged what lies on the sectors the map beside `image` lists.
void MarkMappedSectors(FatVolume& volume, const std::string& image, size_t diskBytes);

// Which problems are named one by one: every one (a listing on a terminal), or only the
// volume's own (a list that marks its damaged files in a column, where the rest shows).
enum class FatDamageDetail { Every, VolumeOnly };

// Names the damage as warnings, then how many problems there were; 0 when there was none.
int TellFatDamage(const FatVolume& volume, MessageSink& sink, FatDamageDetail detail = FatDamageDetail::Every);

#pragma once

#include "app/job_list.h"
#include "app/job_list_journal.h"
#include "app/messages.h"
#include "platform/file_system.h"
#include "ui/window.h"

// Creates the folders "avs", "stats", "configs", "log" and "avsinc" under the
// program folder, in this order; existing or failing folders are passed over.
void CreateProgramFolders(FileSystem& files);

// Fills every fixed list with its entries.
void FillFixedLists(Window& window);

// Removes what writes of an earlier run that ended midway left in the
// program folder and the folders it writes whole files to.
void RemoveLeftovers(FileSystem& files);

// Offers back the job list an earlier run left in the journal: the user
// says whether to queue it again; a damaged journal is set aside.
void RestoreJobList(JobListJournal& journal, JobList& list, const Messages& messages);

#pragma once

// The data layer in one page: every query and every transaction of the program lives
// behind these services, and the windows only move records between their controls and them.
//
//   Records.h    the plain records: Sample, Result (numeric, text or replicate),
//                LookupEntry (code and description kept apart), the filters of the locates
//                and viewers, Cursor (a found set stepped by the arrows), GridRows (a grid's
//                cells), Refused (a refusal, in the user's words, with nothing written).
//   Lookups.h    the lists: projects, stations (all, or those of a project), media,
//                sample types, composite statistics, remarks, parameters.
//   Samples.h    hand-entered samples: add (the next code and the insert in one write
//                transaction), update, delete with every result, locate, find, step.
//   Results.h    hand-entered results: store (one non-replicate result per sample and
//                parameter; only for the very sample on show), locate, delete, list, and
//                the sample's grid of results of every kind.
//   EntryReview.h the questions before a doubtful value is stored (a number written
//                another way, a limit typed as text, a replicate's comment, a value out of
//                the expected range).
//   Viewers.h    the browse grids' rows and the hand-over of selected samples' results.
//   ExportRows.h the export's row streams.
//   Plots.h      a station's series for one parameter (every source), a parameter's full
//                name and its range, for the plots.
//   Review.h     the checks of a review over a scope, streamed as findings with progress
//                and Cancel, and the marks of reviewed findings (tblresult_review).
//   RecordSummary.h a station's record in figures, and the boxes of its box plots.
//   Journal.h    every write's rows, before and after, journaled in its own transaction as
//                one action; History.h lists the journal and undoes the user's last action.
//   Connection.h the program-wide database handle and the opening of a data file.
//   Schema.h     the tables, the one way a database is made; DemoData.h fills a demo.
//
// Every service is a small object over a platform::Database, made where it is used:
//   store::Samples(store::requireDb()).Add(sample);
// A service throws Refused for what the user can correct, and lets platform::EngineError
// through for what the engine reports; it never shows anything itself.
//
// The queries are SQL that SQLite and PostgreSQL both run, every value bound to a `?`:
//   platform::RowStream rows(db, "select * from tblsample where idloc = ? and sample_code = ?",
//                            {kHandEntered, code});
//   while (rows.Next()) ... rows.Value("start_date") ...      (a date column gives a DateTime)
//   db.Execute("delete from tblresults where idloc = ? and sample_code = ?", {kHandEntered, code});
// Only the schema's table and column names (Tables.h) and placeholders are joined into a
// statement. Where the two databases differ (a user's wildcard search, a date range), the
// hooks of platform/SqlHooks.h write the condition. Writes are plain insert, update and
// delete by key inside Journaled (Journal.h), which captures every changed row.

#include "Connection.h"
#include "EntryReview.h"
#include "ExportRows.h"
#include "History.h"
#include "Journal.h"
#include "Lookups.h"
#include "Plots.h"
#include "RecordSummary.h"
#include "Records.h"
#include "Results.h"
#include "Review.h"
#include "Samples.h"
#include "Schema.h"
#include "Viewers.h"

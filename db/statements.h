// The lookup, schema-switch and booking statements.
//
// Each function formats its statement into the booking statement buffer (500
// bytes; the schema switch has a 200-byte buffer of its own), runs it, copies
// what it needs of the first row and releases the result before it returns.
// Every value that stands between quotes is escaped for the session.
//
// A lookup copies the non-NULL columns of the first row into their targets,
// or nothing at all: a column longer than its target fails the lookup with
// -1. Results: 0 for a row found, kNoFurtherRow for none, else the session's
// code.
#pragma once

#include "common/fixed_text.h"
#include "import/booking_record.h"

using Licence = FixedText<8>;
using Tenant = FixedText<24>;
using Designator = FixedText<32>;
using SchemaName = FixedText<21>;

// The badge assignment valid on the booking day, in QVSYSTEM: writes the
// booking's personnelNumber, licence and tenant.
int SQLSelectQvs301Asw(BookingRecord& booking, Licence& licence, Tenant& tenant);

// The schema name of licence and tenant, in QVSYSTEM.
int SQLSelectQvs112Mnd(const Licence& licence, const Tenant& tenant, SchemaName& schemaName);

// Asks the server to make schemaName the current schema with Oracle's
// "ALTER SESSION SET CURRENT_SCHEMA". Returns 1 when the statement delivered
// a row, else 0; a server that rejects the statement, as MySQL and MariaDB
// do, also gives 0, and the session stays in the database it connected to.
int dbChangeSchema(const SchemaName& schemaName);

// The cost centre of workstation, in the current schema.
int SQLSelectO1003KstStelle(const FixedText<8>& workstation, FixedText<31>& costCentre);

// Inserts the booking into QVS321BCH of the current schema with function
// code 25 and designator. 0 when inserted.
int SQLInsertQvs321Bch(const BookingRecord& booking, const Designator& designator);

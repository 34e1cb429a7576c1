// kordo-db export: a table as CSV or JSON.
#pragma once

int RunExport(int argc, char** argv);

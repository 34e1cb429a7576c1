// kordo-db apply: editor actions from a script or a sheet, run through the editors' forms.
#pragma once

int RunApply(int argc, char** argv);

-- Exports the DAW stage's session (its whole session range, through the
-- master bus) with the export preset PRESET_ID, into FOLDER as NAME.wav.
--   ardour7-lua ardour_export.lua DIR SNAPSHOT PRESET_ID FOLDER NAME
local dir, snapshot, preset, folder, name = arg[1], arg[2], arg[3], arg[4], arg[5]

local session = load_session(dir, snapshot)
assert(session, "cannot load the session")

local export = session:simple_export()
export:set_name(name)
export:set_folder(folder)
export:set_range(session:current_start_sample(), session:current_end_sample())
assert(export:set_preset(preset), "unknown export preset " .. preset)
assert(export:check_outputs(), "the export has no outputs")
assert(export:run_export(), "the export failed")
print("exported " .. (session:current_end_sample() - session:current_start_sample()) .. " frames")
close_session()

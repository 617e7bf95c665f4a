-- Builds the DAW stage's session with Ardour's headless Lua tool: a set
-- sample rate and tempo, one stereo track with Slicecast inserted and its
-- six parameters set, inputs left unconnected (the region alone feeds the
-- track), outputs to the master bus. The region itself is added to the saved file afterwards, since
-- this tool cannot import audio. FORMAT is LXVST (the default: parameters
-- in 0..1), LV2 (parameters as the control ports take them) or VST3
-- (parameters as their plain values: steps and percentages). With PRESET,
-- Slicecast gets that preset of its own, loaded by Ardour as a user picks
-- one from its preset menu, and the parameters given are not set.
--   ardour7-lua ardour_session.lua DIR NAME RATE TEMPO P0 P1 P2 P3 P4 P5 [FORMAT [PRESET]]
local dir, name, rate, tempo = arg[1], arg[2], tonumber(arg[3]), tonumber(arg[4])

local session = create_session(dir, name, rate)
assert(session, "cannot create the session")

local map = Temporal.TempoMap.write_copy()
map:set_tempo(Temporal.Tempo(tempo, tempo, 4), Temporal.timepos_t(0))
Temporal.TempoMap.update(map)

local tracks = session:new_audio_track(2, 2, nil, 1, "Slicecast", ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true)
local track = tracks:front()
track:input():disconnect_all(nil)
-- Outputs to the master bus, made here rather than left to the automatic
-- connection, which runs in the background and may not be done by the
-- time the session is saved.
local master = session:master_out()
track:output():disconnect_all(nil)
for channel = 0, 1 do
    local port = track:output():audio(channel)
    assert(port:connect(master:input():audio(channel):name()) == 0, "cannot connect the track to the master bus")
end

local format = arg[11] or "LXVST"
local preset = arg[12] or ""
local plugin = ARDOUR.LuaAPI.new_plugin(session, "J'x Slicecast", ARDOUR.PluginType[format], "")
assert(not plugin:isnil(), "Slicecast (" .. format .. ") is not among Ardour's plug-ins")
assert(track:add_processor_by_index(plugin, 0, nil, true) == 0, "cannot insert Slicecast")
if preset == "" then
    for index = 0, 5 do
        assert(ARDOUR.LuaAPI.set_processor_param(plugin, index, tonumber(arg[5 + index])))
    end
else
    local instance = plugin:to_insert():plugin(0)
    local record = instance:preset_by_label(preset)
    assert(record, "Ardour lists no preset " .. preset .. " of Slicecast (" .. format .. ")")
    assert(instance:load_preset(record), "Ardour cannot load the preset " .. preset)
    print("loaded the preset " .. record.label .. " (" .. record.uri .. ")")
end
-- A VST 3 host hands new values to the processor in its next processing
-- call, and saves the processor's state: let the engine run a few cycles
-- first, as it does between a user's edit and a save.
ARDOUR.LuaAPI.usleep(500000)

session:save_state("", false, false, false, false, false)
print("session saved with Slicecast on track " .. track:name())
close_session()

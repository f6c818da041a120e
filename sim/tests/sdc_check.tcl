# Reads a timing-constraint file with the SDC commands it uses defined as checking stubs, and
# compares each clock's period with the one expected: tclsh sdc_check.tcl FILE.sdc NAME=NS...
set clocks [dict create]
set ports [dict create]

proc fail {message} {
    puts stderr "sdc_check: $message"
    exit 1
}

proc get_ports {names} {
    foreach name $names {
        if {![regexp {^[A-Za-z_][A-Za-z0-9_]*$} $name]} { fail "port name '$name'" }
        dict set ::ports $name 1
    }
    return [list port $names]
}

proc needs_ports {target} {
    if {[lindex $target 0] ne "port" || [llength [lindex $target 1]] == 0} {
        fail "expected \[get_ports ...\], got '$target'"
    }
}

proc needs_clock {name} {
    if {![dict exists $::clocks $name]} { fail "clock '$name' is not defined" }
}

proc create_clock {args} {
    if {[llength $args] != 5 || [lindex $args 0] ne "-name" || [lindex $args 2] ne "-period"} {
        fail "create_clock $args"
    }
    set period [lindex $args 3]
    if {![string is double -strict $period] || $period <= 0} { fail "period '$period'" }
    needs_ports [lindex $args 4]
    dict set ::clocks [lindex $args 1] $period
}

proc set_input_delay {args} {
    if {[llength $args] != 5 || [lindex $args 0] ne "-clock" ||
        [lsearch -exact {-max -min} [lindex $args 2]] < 0} {
        fail "set_input_delay $args"
    }
    needs_clock [lindex $args 1]
    if {![string is double -strict [lindex $args 3]]} { fail "delay '[lindex $args 3]'" }
    needs_ports [lindex $args 4]
}

proc set_false_path {args} {
    if {[llength $args] != 2 || [lsearch -exact {-from -to} [lindex $args 0]] < 0} {
        fail "set_false_path $args"
    }
    needs_ports [lindex $args 1]
}

proc set_clock_groups {args} {
    if {[lindex $args 0] ne "-asynchronous"} { fail "set_clock_groups $args" }
    set grouped {}
    foreach {flag group} [lrange $args 1 end] {
        if {$flag ne "-group"} { fail "set_clock_groups $args" }
        foreach name $group { needs_clock $name; lappend grouped $name }
    }
    if {[lsort $grouped] ne [lsort [dict keys $::clocks]]} {
        fail "clock groups $grouped, clocks [dict keys $::clocks]"
    }
}

source [lindex $argv 0]
foreach expected [lrange $argv 1 end] {
    lassign [split $expected =] name period
    needs_clock $name
    set got [dict get $clocks $name]
    # Periods are written to the picosecond.
    if {abs($got - $period) > 0.0005} { fail "$name period $got ns, expected $period ns" }
}
if {[dict size $clocks] != [llength [lrange $argv 1 end]]} {
    fail "clocks [dict keys $clocks], expected [lrange $argv 1 end]"
}
puts "sdc ok: [lindex $argv 0]"

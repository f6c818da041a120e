`define module_name jesd_b

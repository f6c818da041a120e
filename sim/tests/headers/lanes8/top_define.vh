`define module_name jesd_l8

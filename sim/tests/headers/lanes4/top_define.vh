`define module_name jesd_l4

`define module_name jesd_l1
